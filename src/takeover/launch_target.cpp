#include "takeover/launch_target.h"

namespace {

// The target quoted for a command line: a trailing backslash is doubled, or
// the splitter would take it and the quote after it for a quote in the text.
std::wstring Quoted(const std::wstring& target) {
    return L"\"" + target + (target.ends_with(L'\\') ? L"\\\"" : L"\"");
}

}  // namespace

std::wstring ExplorerCommandLine(const std::wstring& explorer, const std::wstring& target, bool select) {
    std::wstring line = L"\"" + explorer + L"\"";
    if (target.empty()) return line;
    return line + (select ? L" /select," : L" ") + Quoted(target);
}

std::wstring QuorlenCommandLine(const std::wstring& program, const std::wstring& target, bool select) {
    std::wstring line = L"\"" + program + L"\"";
    if (target.empty()) return line;
    return line + (select ? L" /select " : L" ") + Quoted(target);
}
