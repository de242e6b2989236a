#include "app/command_line.h"

#include <windows.h>
#include <shellapi.h>

#include <string_view>

#include "ui/handles.h"
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
        }
    }
    return request;
}

std::vector<std::wstring> ProcessArguments() {
    int count = 0;
    UniqueArgv argv(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::wstring> arguments;
    if (!argv) return arguments;
    for (int i = 1; i < count; ++i) arguments.emplace_back(argv.get()[i]);
    return arguments;
}
