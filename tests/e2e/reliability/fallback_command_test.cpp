#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/private_prefix.h"
#include "common/reliability_tally.h"
#include "common/temp_folder.h"
#include "driver/quorlen_driver.h"
#include "takeover/command_lines.h"

// The fallback open command goes through the real command interpreter with a
// folder path the shell puts in, and it names the executable, which may itself
// live in an oddly named folder. Whatever either path holds must not make the
// command run anything else, and the folder must arrive as it is named.

namespace {

namespace fs = std::filesystem;

// Names that mean something to the command interpreter. Each "mkdir INJECTEDn"
// would make a folder in the interpreter's working folder if it ran. (A name
// holding a defined environment variable between two "%" cannot be carried: the
// interpreter expands it inside quotes too, and has no way to escape it there.)
const std::vector<std::wstring> kAwkwardNames = {
    L"a&mkdir INJECTED1&b",
    L"a^&mkdir INJECTED2^&b",
    L"a)&mkdir INJECTED3&(b",
    L"a!x!&mkdir INJECTED4",
    L"50% off & 100%",
    L"文件夹 😀 a b",
    L"a,b;c=d 'e' `f` ~$#@",
};

fs::path TestProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

std::wstring ReplaceAll(std::wstring text, const std::wstring& from, const std::wstring& to) {
    for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// What the shell runs for a stored expandable command: environment variables
// expanded first, then the folder put in for its placeholder.
std::wstring AsTheShellRunsIt(const std::wstring& stored, const std::wstring& placeholder, const std::wstring& folder) {
    wchar_t expanded[8192] = {};
    const DWORD length = ExpandEnvironmentStringsW(stored.c_str(), expanded, 8192);
    const std::wstring command = length > 0 && length <= 8192 ? std::wstring(expanded) : stored;
    return ReplaceAll(command, placeholder, folder);
}

// The command lines the recorder saw, each split into its arguments.
std::vector<std::vector<std::wstring>> RecordedRuns(const fs::path& recorderFolder) {
    std::ifstream file(recorderFolder / L"arguments.txt", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::wstring text(bytes.size() / 2, L'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    std::vector<std::vector<std::wstring>> runs;
    size_t start = 0;
    for (size_t end = text.find(L'\n'); end != std::wstring::npos; start = end + 1, end = text.find(L'\n', start)) {
        int count = 0;
        LPWSTR* argv = CommandLineToArgvW(text.substr(start, end - start).c_str(), &count);
        if (argv == nullptr) continue;
        runs.emplace_back(argv, argv + count);
        LocalFree(argv);
    }
    return runs;
}

std::vector<std::wstring> Injected(const fs::path& folder) {
    std::vector<std::wstring> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) names.push_back(entry.path().filename().wstring());
    return names;
}

class ReliabilityFallbackCommandTest : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_PRIVATE_TEST_PREFIX();
        recorder = TestProgramFolder() / L"quorlen_argument_recorder.exe";
        ASSERT_TRUE(fs::exists(recorder)) << "the argument recorder was not built";
        fs::create_directories(Working());
    }

    fs::path Working() const { return root.Path() / L"working"; }

    // Runs the command lines side by side as the shell would start them, in the
    // working folder, and waits for all to end. Each job ends whatever its
    // command started in turn, when the test is over.
    bool RunAllToEnd(const std::vector<std::wstring>& commandLines) {
        for (const std::wstring& commandLine : commandLines) {
            interpreters.push_back(std::make_unique<QuorlenProcess>());
            if (!interpreters.back()->StartCommandLine(commandLine, Working().wstring())) return false;
        }
        DWORD exitCode = 0;
        return std::all_of(interpreters.begin(), interpreters.end(),
                           [&](const auto& interpreter) { return interpreter->WaitForExit(30000, exitCode); });
    }

    TempFolder root;
    fs::path recorder;
    std::vector<std::unique_ptr<QuorlenProcess>> interpreters;
};

TEST_F(ReliabilityFallbackCommandTest, AwkwardFolderAndProgramPathsReachTheProgramWholeAndRunNothingElse) {
    struct Case {
        std::wstring name;
        fs::path programFolder;  // holds the program, under a folder of the awkward name
        std::vector<std::wstring> expected;
    };
    const std::pair<std::wstring, std::wstring> templates[] = {{L"\"%1\"", L"%1"}, {L"/d \"%V\"", L"%V"}};
    std::vector<Case> cases;
    std::vector<std::wstring> commandLines;
    for (size_t i = 0; i < kAwkwardNames.size(); ++i) {
        const fs::path folder = root.Path() / (L"open" + std::to_wstring(i)) / kAwkwardNames[i];
        fs::create_directories(folder);
        for (size_t t = 0; t < std::size(templates); ++t) {
            const auto& [argumentTemplate, placeholder] = templates[t];
            Case c{kAwkwardNames[i], root.Path() / (L"program" + std::to_wstring(i) + L"-" + std::to_wstring(t)) /
                                         kAwkwardNames[i], {}};
            fs::create_directories(c.programFolder);
            const fs::path exe = c.programFolder / L"Quorlen.exe";
            ASSERT_TRUE(fs::copy_file(recorder, exe));
            c.expected = {exe.wstring()};
            if (placeholder == L"%V") c.expected.push_back(L"/d");
            c.expected.push_back(folder.wstring());
            commandLines.push_back(
                AsTheShellRunsIt(BuildFallbackCommand(exe.wstring(), argumentTemplate), placeholder, folder.wstring()));
            cases.push_back(std::move(c));
        }
    }
    ASSERT_TRUE(RunAllToEnd(commandLines)) << "an interpreter did not end";

    long long failures = 0;
    for (const Case& c : cases) {
        const bool ran = WaitUntil([&] { return !RecordedRuns(c.programFolder).empty(); }, 15000);
        const auto runs = RecordedRuns(c.programFolder);
        const bool whole = ran && runs.size() == 1 && runs[0].size() == c.expected.size() &&
                           std::equal(c.expected.begin() + 1, c.expected.end(), runs[0].begin() + 1);
        EXPECT_TRUE(whole) << "folder and program named \"" << NarrowForTest(c.name)
                           << "\": the program was not started once with the folder whole";
        failures += whole ? 0 : 1;
    }
    const std::vector<std::wstring> injected = Injected(Working());
    EXPECT_TRUE(injected.empty()) << "a command hidden in a path ran: " << NarrowForTest(injected.front());
    failures += static_cast<long long>(injected.size());
    RecordReliability({"fallback command", static_cast<long long>(cases.size()), 0, "program present", failures});
}

TEST_F(ReliabilityFallbackCommandTest, WithTheProgramGoneTheSystemExplorerOpensTheFolderNotOneBesideIt) {
    // A folder the user browses may hold a file named like the system's explorer,
    // and the shell runs open commands in the folder being browsed.
    const fs::path planted = Working() / L"explorer.exe";
    ASSERT_TRUE(fs::copy_file(recorder, planted));
    std::vector<std::wstring> commandLines;
    for (size_t i = 0; i < kAwkwardNames.size(); ++i) {
        const fs::path folder = root.Path() / (L"open" + std::to_wstring(i)) / kAwkwardNames[i];
        fs::create_directories(folder);
        const fs::path gone = root.Path() / (L"gone" + std::to_wstring(i)) / kAwkwardNames[i] / L"Quorlen.exe";
        commandLines.push_back(
            AsTheShellRunsIt(BuildFallbackCommand(gone.wstring(), L"\"%1\""), L"%1", folder.wstring()));
    }
    ASSERT_TRUE(RunAllToEnd(commandLines)) << "an interpreter did not end";
    const auto cases = static_cast<long long>(commandLines.size());
    // Whatever the system explorer opened ends with the job; a planted one gets time to show.
    (void)WaitUntil([&] { return !RecordedRuns(Working()).empty(); }, 3000);
    const auto runs = RecordedRuns(Working());
    EXPECT_TRUE(runs.empty()) << "the explorer.exe beside the folder ran instead of the system's";
    std::vector<std::wstring> injected = Injected(Working());
    std::erase_if(injected, [](const std::wstring& name) { return name == L"explorer.exe" || name == L"arguments.txt"; });
    EXPECT_TRUE(injected.empty()) << "a command hidden in a path ran: " << NarrowForTest(injected.front());
    RecordReliability({"fallback command", cases, 0, "program gone",
                       static_cast<long long>(runs.size() + injected.size())});
}

}  // namespace
