#include "app/command_line.h"

#include <windows.h>

#include <string_view>

#include "ui/text.h"

namespace {

// The shell quotes "%1", and for a drive root that ends in a backslash before the
// closing quote, which the argument splitter reads as an escaped quote: "C:\"
// arrives as C:". No path holds a quote, so a trailing one is that root's backslash.
std::wstring PathArgument(std::wstring_view argument) {
    if (!argument.empty() && argument.back() == L'"') {
        argument.remove_suffix(1);
        return std::wstring(argument) + L"\\";
    }
    return std::wstring(argument);
}

}  // namespace

CommandLineRequest ParseCommandLine(const std::vector<std::wstring>& arguments) {
    CommandLineRequest request;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        if (argument.empty() || (argument[0] != L'-' && argument[0] != L'/')) {
            request.path = PathArgument(argument);
            continue;
        }
        // The shell's own folder switches: accepted and ignored.
        if (EqualsIgnoringCase(argument, L"/d") || EqualsIgnoringCase(argument, L"/n")) continue;

        const std::wstring_view option = std::wstring_view(argument).substr(1);
        if (StartsWithIgnoringCase(option, L"select,")) {
            request.select = true;
            request.path = PathArgument(option.substr(7));
        } else if (EqualsIgnoringCase(option, L"select")) {
            if (i + 1 < arguments.size()) {
                request.select = true;
                request.path = PathArgument(arguments[++i]);
            }
        } else if (EqualsIgnoringCase(option, L"-restart")) {
            request.restart = true;
        } else if (EqualsIgnoringCase(option, L"uninstall")) {
            request.uninstall = true;
        } else if (EqualsIgnoringCase(option, L"silent")) {
            request.silent = true;
        } else if (EqualsIgnoringCase(option, L"restore")) {
            request.restore = true;
        }
    }
    return request;
}

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The quotes that follow a quote: each steps the count, which gives a literal
// quote and starts again when it reaches three; a run that leaves it at two
// closes the quotes.
void ReadQuotesAfter(std::wstring_view line, size_t& at, int& quotes, std::wstring& argument) {
    for (; at < line.size() && line[at] == L'"'; ++at) {
        if (++quotes == 3) {
            argument += L'"';
            quotes = 0;
        }
    }
    if (quotes == 2) quotes = 0;
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view line) {
    std::vector<std::wstring> arguments;
    size_t at = 0;
    // The program name: up to the next quote when quoted, else up to the
    // first blank, with no escapes.
    std::wstring program;
    if (at < line.size() && line[at] == L'"') {
        const size_t close = line.find(L'"', at + 1);
        program = line.substr(at + 1, close == std::wstring_view::npos ? std::wstring_view::npos : close - at - 1);
        at = close == std::wstring_view::npos ? line.size() : close + 1;
    } else {
        while (at < line.size() && !IsBlank(line[at])) program += line[at++];
    }
    arguments.push_back(std::move(program));
    while (at < line.size() && IsBlank(line[at])) ++at;
    // The rest, argument by argument. Backslashes count only before a quote:
    // 2n of them and a quote give n and a quote that opens or closes, 2n+1 give
    // n and a literal quote. Blanks inside quotes belong to the argument.
    while (at < line.size()) {
        std::wstring argument;
        int quotes = 0;
        while (at < line.size() && (quotes != 0 || !IsBlank(line[at]))) {
            if (line[at] == L'\\') {
                size_t slashes = 0;
                for (; at < line.size() && line[at] == L'\\'; ++at) ++slashes;
                const bool beforeQuote = at < line.size() && line[at] == L'"';
                argument.append(beforeQuote ? slashes / 2 : slashes, L'\\');
                if (beforeQuote && slashes % 2 == 1) {
                    argument += L'"';
                    ReadQuotesAfter(line, ++at, quotes, argument);
                }
            } else if (line[at] == L'"') {
                ++quotes;
                ReadQuotesAfter(line, ++at, quotes, argument);
            } else {
                argument += line[at++];
            }
        }
        arguments.push_back(std::move(argument));
        while (at < line.size() && IsBlank(line[at])) ++at;
    }
    return arguments;
}

std::vector<std::wstring> ProcessArguments() {
    std::vector<std::wstring> arguments = SplitCommandLine(GetCommandLineW());
    arguments.erase(arguments.begin());
    return arguments;
}
