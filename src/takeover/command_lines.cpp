#include "takeover/command_lines.h"

#include "ui/paths.h"
#include "ui/text.h"

namespace {

constexpr std::wstring_view kFallbackStart = L"cmd /c if exist \"";

// The text between the first double quote at or after start and the next one;
// empty when there is no such pair.
std::wstring QuotedAt(const std::wstring& value, size_t start) {
    const size_t open = value.find(L'"', start);
    if (open == std::wstring::npos) return {};
    const size_t close = value.find(L'"', open + 1);
    if (close == std::wstring::npos) return {};
    return value.substr(open + 1, close - open - 1);
}

std::wstring_view FileNameOf(std::wstring_view path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::wstring LowerAscii(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return text;
}

std::wstring BuildDirectCommand(const std::wstring& exe, const std::wstring& argumentTemplate) {
    return L"\"" + exe + L"\" " + argumentTemplate;
}

namespace {

// Earlier versions named the explorer bare; their commands are still ours.
constexpr wchar_t kBareExplorer[] = L"explorer.exe";

std::wstring FallbackCommandWith(const std::wstring& exe, const std::wstring& argumentTemplate,
                                 const std::wstring& explorer) {
    const std::wstring explorerArgument =
        argumentTemplate.find(L"%V") != std::wstring::npos ? L"\"%V\"" : L"\"%1\"";
    return std::wstring(kFallbackStart) + exe + L"\" (start \"\" \"" + exe + L"\" " + argumentTemplate +
           L") else (start \"\" " + explorer + L" " + explorerArgument + L")";
}

}  // namespace

std::wstring BuildFallbackCommand(const std::wstring& exe, const std::wstring& argumentTemplate) {
    // The system's explorer by its full path: a bare name is looked for first in
    // the working folder, which the shell sets to the folder being browsed, so a
    // file named explorer.exe lying there would run instead.
    return FallbackCommandWith(exe, argumentTemplate, L"\"" + SystemFolderFile(kBareExplorer, true) + L"\"");
}

bool ContainsExecutable(const std::wstring& value, const std::wstring& exe) {
    return !exe.empty() && LowerAscii(value).find(LowerAscii(exe)) != std::wstring::npos;
}

bool IsOwnCommand(const std::wstring& value, const std::wstring& exe, const std::wstring& argumentTemplate) {
    if (ContainsExecutable(value, exe)) return true;
    const std::wstring program = QuotedAt(value, 0);
    if (program.empty()) return false;
    if (StartsWithIgnoringCase(value, kFallbackStart)) {
        return EqualsIgnoringCase(value, BuildFallbackCommand(program, argumentTemplate)) ||
               EqualsIgnoringCase(value, FallbackCommandWith(program, argumentTemplate, kBareExplorer));
    }
    return EqualsIgnoringCase(value, BuildDirectCommand(program, argumentTemplate)) &&
           EqualsIgnoringCase(FileNameOf(program), FileNameOf(exe));
}

std::wstring ProgramOfOwnForm(const std::wstring& value, const std::wstring& argumentTemplate) {
    const std::wstring program = QuotedAt(value, 0);
    if (program.empty()) return {};
    const bool ownForm = EqualsIgnoringCase(value, BuildDirectCommand(program, argumentTemplate)) ||
                         EqualsIgnoringCase(value, BuildFallbackCommand(program, argumentTemplate));
    return ownForm ? program : std::wstring();
}

bool IsLauncherCommand(const std::wstring& value, const std::wstring& argumentTemplate) {
    const std::wstring program = QuotedAt(value, 0);
    return !program.empty() && EqualsIgnoringCase(FileNameOf(program), kLauncherFileName) &&
           EqualsIgnoringCase(value, BuildDirectCommand(program, argumentTemplate));
}

std::wstring ProgramOfCommand(const std::wstring& value) {
    const size_t start = value.find_first_not_of(L' ');
    if (start == std::wstring::npos) return {};
    if (value[start] == L'"') return QuotedAt(value, start);
    return value.substr(start, value.find(L' ', start) - start);
}
