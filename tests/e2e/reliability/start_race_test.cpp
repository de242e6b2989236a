#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "common/reliability_tally.h"
#include "common/temp_folder.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"

namespace {

constexpr wchar_t kPipeName[] = L"\\\\.\\pipe\\QuorlenPipe";
constexpr int kRacingStarts = 8;

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

// Starts that race each other and a closing instance, from no instance at all.
class ReliabilityStartRaceTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(install.Ready());
        for (int i = 0; i < kRacingStarts; ++i) {
            folders.push_back((data.Path() / (L"race " + std::to_wstring(i))).wstring());
            std::filesystem::create_directories(folders.back());
        }
    }

    // Starts one process per folder, all let go at the same moment.
    std::vector<std::unique_ptr<QuorlenProcess>> StartAtOnce(const std::vector<std::wstring>& paths) {
        std::vector<std::unique_ptr<QuorlenProcess>> started(paths.size());
        UniqueKernelHandle go(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        std::vector<std::thread> starters;
        for (size_t i = 0; i < paths.size(); ++i) {
            started[i] = std::make_unique<QuorlenProcess>();
            starters.emplace_back([&, i] {
                WaitForSingleObject(go.get(), INFINITE);
                EXPECT_TRUE(started[i]->Start(install, Quoted(paths[i])));
            });
        }
        SetEvent(go.get());
        for (std::thread& starter : starters) starter.join();
        return started;
    }

    // The one process of those given that still runs, once all others have
    // ended; null when that never came about.
    static QuorlenProcess* TheOneLeft(const std::vector<QuorlenProcess*>& processes, std::string& why) {
        QuorlenProcess* left = nullptr;
        const bool settled = WaitUntil(
            [&] {
                const auto running = std::count_if(processes.begin(), processes.end(),
                                                   [](const QuorlenProcess* process) { return process->Running(); });
                left = nullptr;
                for (QuorlenProcess* process : processes) {
                    if (process->Running()) left = process;
                }
                why = std::to_string(running) + " processes still run";
                return running == 1 && left->MainWindows().size() == 1;
            },
            60000);
        return settled ? left : nullptr;
    }

    // The instance's window once its shown tab has the title.
    static HWND WindowShowing(const QuorlenProcess& process, const std::wstring& title) {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                const std::vector<HWND> windows = process.MainWindows();
                found = windows.size() == 1 && WindowText(GetDlgItem(windows[0], 7)) == title ? windows[0] : nullptr;
                return found != nullptr;
            },
            20000);
        return found;
    }

    bool WaitForSavedTabs(std::vector<std::wstring> expected) const {
        std::sort(expected.begin(), expected.end());
        return WaitUntil(
            [&] {
                std::vector<std::wstring> saved = ReadConfigLines(install, L"tabs.txt");
                std::sort(saved.begin(), saved.end());
                return SamePaths(saved, expected);
            },
            20000);
    }

    // Ends the round's instance and forgets its tabs, for a clean next round.
    void EndRound(QuorlenProcess& instance) {
        instance.Kill();
        std::error_code ignored;
        std::filesystem::remove_all(install.Folder() / L"config", ignored);
    }

    static std::wstring NameOf(const std::wstring& path) { return std::filesystem::path(path).filename().wstring(); }

    QuorlenInstall install;
    TempFolder data;
    std::vector<std::wstring> folders;
};

// Eight folders opened at once from the desktop start eight processes: one of
// them becomes the instance and the seven others hand their folders to it.
TEST_F(ReliabilityStartRaceTest, EightStartsAtOnceLeaveOneInstanceShowingEveryFolder) {
    const long long rounds = Scaled(4);
    long long failures = 0;
    for (long long round = 0; round < rounds && !HasFatalFailure(); ++round) {
        std::vector<std::unique_ptr<QuorlenProcess>> started = StartAtOnce(folders);
        std::vector<QuorlenProcess*> processes;
        for (const auto& process : started) processes.push_back(process.get());
        std::string why;
        QuorlenProcess* instance = TheOneLeft(processes, why);
        if (!instance) {
            ++failures;
            ADD_FAILURE() << "round " << round << ": " << why;
            for (QuorlenProcess* process : processes) EndRound(*process);
            continue;
        }
        for (QuorlenProcess* process : processes) {
            DWORD exitCode = 1;
            if (process != instance) {
                EXPECT_TRUE(process->WaitForExit(0, exitCode) && exitCode == 0) << "round " << round;
            }
        }
        const HWND strip = GetDlgItem(instance->MainWindows()[0], 7);
        if (!WaitUntil([&] { return Query(strip, kTabCount) == kRacingStarts; }, 20000) ||
            !WaitForSavedTabs(folders)) {
            ++failures;
            ADD_FAILURE() << "round " << round << ": " << Query(strip, kTabCount) << " tabs, "
                          << ReadConfigLines(install, L"tabs.txt").size() << " saved";
        }
        EndRound(*instance);
    }
    RecordReliability({"racing starts", rounds * kRacingStarts, 0, "8 starts at once", failures});
}

// A folder opened just as the only window closes opens all the same: in the
// closing instance, which opens a window for it, or in a start that waited
// for that instance to end.
TEST_F(ReliabilityStartRaceTest, AFolderOpenedAsTheLastWindowClosesIsShown) {
    const long long rounds = Scaled(10);
    long long failures = 0;
    for (long long round = 0; round < rounds && !HasFatalFailure(); ++round) {
        QuorlenProcess first;
        ASSERT_TRUE(first.Start(install, Quoted(folders[0])));
        const HWND window = first.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(WaitForSavedTabs({folders[0]}));
        ASSERT_TRUE(WaitUntil([] { return WaitNamedPipeW(kPipeName, 50) != FALSE; }, 15000));

        PostMessageW(window, WM_CLOSE, 0, 0);
        // The race itself: the folder comes 0 to 200 ms into the close.
        Sleep(static_cast<DWORD>(round % 5) * 50);
        QuorlenProcess second;
        ASSERT_TRUE(second.Start(install, Quoted(folders[1])));

        std::string why;
        QuorlenProcess* instance = TheOneLeft({&first, &second}, why);
        const bool shown = instance && WindowShowing(*instance, NameOf(folders[1])) != nullptr;
        if (!shown || !WaitForSavedTabs({folders[0], folders[1]})) {
            ++failures;
            ADD_FAILURE() << "round " << round << " (" << (round % 5) * 50 << " ms): "
                          << (instance ? "the folder is not shown or not saved" : why);
        }
        DWORD exitCode = 1;
        for (QuorlenProcess* process : {&first, &second}) {
            if (process != instance) {
                EXPECT_TRUE(process->WaitForExit(10000, exitCode) && exitCode == 0) << "round " << round;
            }
        }
        EndRound(first);
        EndRound(second);
    }
    RecordReliability({"start while closing", rounds, rounds, "0-200 ms into the close", failures});
}

// Any program can make the pipe under its well-known name before Quorlen
// does, another user's Quorlen among them. It hears nothing: the first start is
// the instance all the same and serves its session's own pipe, which the next
// start finds once the well-known one turns out not to be the instance's.
TEST_F(ReliabilityStartRaceTest, APipeAnotherProgramMadeHearsNothing) {
    // One instance only: no program can join it, not even under Wine, which
    // does not keep a name's first instance to its maker.
    UniqueKernelHandle squatter(CreateNamedPipeW(kPipeName, PIPE_ACCESS_INBOUND, PIPE_TYPE_MESSAGE | PIPE_WAIT, 1, 0,
                                                 8192, 0, nullptr));
    ASSERT_TRUE(squatter);
    DWORD session = 0;
    ASSERT_TRUE(ProcessIdToSessionId(GetCurrentProcessId(), &session));
    const std::wstring sessionPipe = std::wstring(kPipeName) + L"-" + std::to_wstring(session);
    QuorlenProcess first;
    ASSERT_TRUE(first.Start(install, Quoted(folders[0])));
    const HWND window = first.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    const HWND strip = GetDlgItem(window, 7);
    EXPECT_TRUE(WaitUntil([&] { return WaitNamedPipeW(sessionPipe.c_str(), 50) != FALSE; }, 15000))
        << "the session's own pipe is not served";

    // A selection survives only the pipe, not the window message.
    const std::wstring item = folders[1] + L"\\chosen.txt";
    std::ofstream(std::filesystem::path(item)).put('x');
    QuorlenProcess second;
    ASSERT_TRUE(second.Start(install, L"/select," + Quoted(item)));
    DWORD exitCode = 1;
    EXPECT_TRUE(second.WaitForExit(40000, exitCode) && exitCode == 0) << "the second start did not hand off";
    EXPECT_TRUE(WaitUntil([&] { return Query(strip, kTabCount) == 2; }, 20000)) << "the folder did not arrive";
    std::vector<std::wstring> selected;
    EXPECT_TRUE(WaitUntil(
        [&] {
            HWND list = ShownPanelDescendant(window, L"SysListView32");
            selected = list ? SelectedListItems(list) : std::vector<std::wstring>();
            return selected.size() == 1;
        },
        15000))
        << "the item was not selected: it came another way than the session's pipe";
    DWORD heard = 0;
    PeekNamedPipe(squatter.get(), nullptr, 0, nullptr, &heard, nullptr);
    EXPECT_EQ(heard, 0u) << "the other program's pipe heard the folder";

    // With the well-known name gone, starts still reach the instance.
    squatter.reset();
    QuorlenProcess third;
    ASSERT_TRUE(third.Start(install, Quoted(folders[2])));
    EXPECT_TRUE(third.WaitForExit(40000, exitCode) && exitCode == 0);
    EXPECT_TRUE(WaitUntil([&] { return Query(strip, kTabCount) == 3; }, 20000));
    RecordReliability({"pipe taken first", 2, 1, "", 0});
}

}  // namespace
