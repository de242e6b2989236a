#pragma once

#include <string>
#include <string_view>
#include <vector>

// What the program was asked to do on its command line.
struct CommandLineRequest {
    std::wstring path;       // folder or item to show; empty when none was named
    bool select = false;     // the path names an item to select inside its folder
    bool restart = false;    // started by the program itself to replace the previous instance
    bool uninstall = false;  // run the uninstall command and exit
    bool silent = false;     // the uninstall command asks no questions
    bool restore = false;    // the launcher as restore tool

    bool operator==(const CommandLineRequest&) const = default;
};

// Parses the arguments that follow the program name.
[[nodiscard]] CommandLineRequest ParseCommandLine(const std::vector<std::wstring>& arguments);

// A command line split into its arguments by the rules of CommandLineToArgvW,
// the program name first: done here so that a start that only hands its
// folder over need not load the shell's library for it.
[[nodiscard]] std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

// The arguments of this process after the program name, as the shell splits them.
[[nodiscard]] std::vector<std::wstring> ProcessArguments();
