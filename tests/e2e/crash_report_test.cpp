#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/private_prefix.h"
#include "common/temp_folder.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"

namespace {

namespace fs = std::filesystem;

std::string FileBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A UTF-16LE text with its byte-order mark.
std::wstring TextOf(const fs::path& path) {
    const std::string bytes = FileBytes(path);
    if (bytes.size() < 2 || bytes.compare(0, 2, "\xFF\xFE") != 0) return {};
    std::wstring text((bytes.size() - 2) / 2, L'\0');
    std::memcpy(text.data(), bytes.data() + 2, text.size() * sizeof(wchar_t));
    return text;
}

std::vector<fs::path> FilesWithExtension(const fs::path& folder, const wchar_t* extension) {
    std::vector<fs::path> found;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.path().extension() == extension && entry.path().filename().wstring().starts_with(L"crash-")) {
            found.push_back(entry.path());
        }
    }
    return found;
}

// Faults in a new thread of the process, from outside it: the thread starts at
// an address where nothing is mapped, as a wild call in the program would.
bool CrashFromOutside(DWORD processId) {
    const UniqueKernelHandle process(OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION |
                                                     PROCESS_VM_OPERATION | PROCESS_VM_WRITE | PROCESS_VM_READ,
                                                 FALSE, processId));
    if (!process) return false;
    const UniqueKernelHandle thread(CreateRemoteThread(
        process.get(), nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(static_cast<uintptr_t>(0x10)), nullptr, 0,
        nullptr));
    return static_cast<bool>(thread);
}

class CrashReportTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(install.Ready()) << "could not copy Quorlen.exe into a temporary folder"; }

    // Starts the program in the test's folder and waits until it has arrived there.
    HWND StartInFolder(QuorlenProcess& quorlen) {
        EXPECT_TRUE(quorlen.Start(install, L"\"" + folder.Path().wstring() + L"\""));
        HWND window = quorlen.WaitForMainWindow();
        EXPECT_NE(window, nullptr) << "no main window appeared";
        EXPECT_TRUE(WaitUntil(
            [&] { return SamePaths(ReadConfigLines(install, L"tabs.txt"), {folder.Path().wstring()}); }, 20000))
            << "the start did not arrive at its folder";
        return window;
    }

    // A visible balloon of the process; null when there is none.
    static HWND Notice(const QuorlenProcess& quorlen) {
        const HWND tip = FindProcessWindow(quorlen.Id(), TOOLTIPS_CLASSW);
        return tip && (GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON) ? tip : nullptr;
    }

    QuorlenInstall install;
    TempFolder folder;
    // Handed to the last start by another one.
    TempFolder handed;
    fs::path crashFolder = install.Folder() / L"config" / L"crash";
};

TEST_F(CrashReportTest, ACrashLeavesADumpAndATextThatTheNextStartAloneTellsOf) {
    {
        QuorlenProcess crashing;
        ASSERT_NE(StartInFolder(crashing), nullptr);
        ASSERT_TRUE(CrashFromOutside(crashing.Id())) << "could not start a thread in the program: " << GetLastError();
        DWORD exitCode = 0;
        ASSERT_TRUE(crashing.WaitForExit(60000, exitCode)) << "the crashed program did not end";
        EXPECT_EQ(exitCode, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    }
    const std::vector<fs::path> dumps = FilesWithExtension(crashFolder, L".dmp");
    const std::vector<fs::path> texts = FilesWithExtension(crashFolder, L".txt");
    ASSERT_EQ(dumps.size(), 1u);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(dumps[0].stem(), texts[0].stem());
    const std::string dump = FileBytes(dumps[0]);
    EXPECT_GT(dump.size(), 4u);
    EXPECT_EQ(dump.substr(0, 4), "MDMP");
    const std::wstring report = TextOf(texts[0]);
    EXPECT_NE(report.find(L"EXCEPTION_ACCESS_VIOLATION"), std::wstring::npos) << NarrowForTest(report);
    EXPECT_NE(report.find(L"navigated to " + folder.Path().wstring()), std::wstring::npos) << NarrowForTest(report);

    {
        QuorlenProcess told;
        const HWND window = StartInFolder(told);
        ASSERT_NE(window, nullptr);
        HWND notice = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (notice = Notice(told)) != nullptr; }, 15000))
            << "no notice told of the crash";
        EXPECT_NE(WindowText(notice).find(crashFolder.wstring()), std::wstring::npos)
            << NarrowForTest(WindowText(notice));
        EXPECT_EQ(GetForegroundWindow(), window) << "the notice took the foreground";
        GUITHREADINFO thread{};
        thread.cbSize = sizeof(thread);
        ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread));
        EXPECT_NE(thread.hwndFocus, notice) << "the notice took the focus";
        PostMessageW(window, WM_CLOSE, 0, 0);
        DWORD exitCode = 1;
        ASSERT_TRUE(told.WaitForExit(15000, exitCode));
    }

    QuorlenProcess again;
    ASSERT_NE(StartInFolder(again), nullptr);
    // A hand-off reaches the window only once the start is past telling of
    // crashes, so the notice had its chance when the handed folder shows.
    QuorlenProcess second;
    ASSERT_TRUE(second.Start(install, L"\"" + handed.Path().wstring() + L"\""));
    EXPECT_TRUE(WaitUntil(
        [&] {
            return SamePaths(ReadConfigLines(install, L"tabs.txt"), {folder.Path().wstring(), handed.Path().wstring()});
        },
        20000))
        << "the handed folder did not open";
    EXPECT_EQ(Notice(again), nullptr) << "a report already told of was told of again";
}

}  // namespace
