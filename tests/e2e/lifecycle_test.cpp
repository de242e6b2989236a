#include <windows.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "commandbar/command_ids.h"
#include "common/temp_folder.h"
#include "driver/quorlen_driver.h"

namespace {

using LifecycleTest = StartedQuorlenTest;

TEST_F(LifecycleTest, CloseEndsTheProcessWithExitCodeZero) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 1234;
    ASSERT_TRUE(quorlen.WaitForExit(15000, exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(LifecycleTest, CopyDataIsAnsweredTrueWhateverItCarries) {
    const wchar_t path[] = L"C:\\";
    COPYDATASTRUCT open{1, sizeof(path), const_cast<wchar_t*>(path)};
    COPYDATASTRUCT otherKind{7, sizeof(path), const_cast<wchar_t*>(path)};
    COPYDATASTRUCT empty{1, 0, nullptr};
    for (COPYDATASTRUCT* record : {&open, &otherKind, &empty}) {
        DWORD_PTR answer = 0;
        ASSERT_TRUE(SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(record), SMTO_ABORTIFHUNG,
                                        5000, &answer));
        EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    }
    EXPECT_TRUE(quorlen.Running());
}

// The tab list is saved once its changes have been handled; a window closed
// straight after a change still saves it on the way out.
class StartedInAFolderTest : public StartedQuorlenTest {
protected:
    std::wstring StartArguments() const override { return L"\"" + child.wstring() + L"\""; }
    TempFolder parent;
    std::filesystem::path child = parent.Path() / L"子文件夹";
    bool made = std::filesystem::create_directory(child);
};

TEST_F(StartedInAFolderTest, AChangeRightBeforeTheCloseIsSaved) {
    ASSERT_TRUE(made);
    ASSERT_TRUE(WaitUntil([&] { return ReadConfigLines(install, L"tabs.txt") == std::vector{child.wstring()}; },
                          15000));
    // Both queued at once: the close comes before anything the program posts
    // itself while it goes up a folder.
    ASSERT_TRUE(PostMessageW(window, WM_COMMAND, kCommandUp, 0));
    ASSERT_TRUE(PostMessageW(window, WM_CLOSE, 0, 0));
    DWORD exitCode = 1234;
    ASSERT_TRUE(quorlen.WaitForExit(15000, exitCode));
    EXPECT_EQ(ReadConfigLines(install, L"tabs.txt"), std::vector{parent.Path().wstring()});
}

// A pipe of the instance's name served by something other than the program:
// it accepts connections and counts them, the knocks of a start that waits,
// until it is released. With a gap, the pipe is gone for a moment after each
// client while the next instance is made.
class PipeHolder {
public:
    explicit PipeHolder(DWORD gapMs = 0) : gapMs_(gapMs), thread_([this] { Serve(); }) {}
    ~PipeHolder() { Release(); }

    int Connections() const { return connections_.load(); }

    void Release() {
        if (!thread_.joinable()) return;
        releasing_ = true;
        // Wakes the thread's waiting ConnectNamedPipe with one last connection,
        // again while the pipe is between two instances.
        while (!finished_) {
            UniqueKernelHandle wake(CreateFileW(kPipeName, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            Sleep(10);
        }
        thread_.join();
    }

private:
    static constexpr wchar_t kPipeName[] = L"\\\\.\\pipe\\QuorlenPipe";

    static UniqueKernelHandle NewInstance() {
        return UniqueKernelHandle(CreateNamedPipeW(kPipeName, PIPE_ACCESS_INBOUND,
                                                   PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 4, 0, 8192,
                                                   0, nullptr));
    }

    // Without a gap the next instance is made before the connected one goes, so
    // the pipe is never without a free instance while it is held.
    void Serve() {
        UniqueKernelHandle pipe = NewInstance();
        while (pipe && !releasing_) {
            const bool connected = ConnectNamedPipe(pipe.get(), nullptr) || GetLastError() == ERROR_PIPE_CONNECTED;
            if (connected && !releasing_) ++connections_;
            if (gapMs_ > 0) {
                DisconnectNamedPipe(pipe.get());
                pipe.reset();
                Sleep(gapMs_);
                pipe = NewInstance();
            } else {
                UniqueKernelHandle next = NewInstance();
                DisconnectNamedPipe(pipe.get());
                pipe = std::move(next);
            }
        }
        finished_ = true;
    }

    const DWORD gapMs_;
    std::atomic<bool> releasing_{false};
    std::atomic<bool> finished_{false};
    std::atomic<int> connections_{0};
    std::thread thread_;
};

class Restart : public testing::TestWithParam<DWORD> {};

// The previous instance holds the claim to be the instance until it has ended,
// and while it closes it serves no pipe of its own.
TEST_P(Restart, WaitsUntilThePreviousInstanceHasEnded) {
    QuorlenInstall install;
    ASSERT_TRUE(install.Ready());
    UniqueKernelHandle claim(CreateMutexW(nullptr, TRUE, L"Local\\Quorlen.Instance"));
    ASSERT_TRUE(claim && GetLastError() != ERROR_ALREADY_EXISTS) << "another instance holds the claim";
    PipeHolder previous(GetParam());
    QuorlenProcess quorlen;
    ASSERT_TRUE(quorlen.Start(install, L"/n --restart /d"));

    // The restarting instance keeps knocking on the pipe and opens no window yet,
    // though the pipe is missing for a moment after each of its knocks.
    ASSERT_TRUE(WaitUntil([&] { return previous.Connections() >= 6 || !quorlen.Running(); }, 15000));
    EXPECT_TRUE(quorlen.MainWindows().empty());

    ReleaseMutex(claim.get());
    previous.Release();
    EXPECT_NE(quorlen.WaitForMainWindow(), nullptr);
}

// Without a gap, and with one longer than the pause between two knocks.
INSTANTIATE_TEST_SUITE_P(Gap, Restart, testing::Values(DWORD{0}, DWORD{45}));

TEST(RestartAlone, WithNoPreviousInstanceDoesNotWait) {
    QuorlenInstall install;
    ASSERT_TRUE(install.Ready());
    QuorlenProcess quorlen;
    ASSERT_TRUE(quorlen.Start(install, L"--restart"));
    // Well under the ten seconds the wait could last.
    EXPECT_NE(quorlen.WaitForMainWindow(8000), nullptr);
}

}  // namespace
