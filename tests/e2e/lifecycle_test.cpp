#include <windows.h>

#include <atomic>
#include <thread>

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

// Stands in for a previous instance that still holds the instance pipe: it
// accepts connections and counts them until it is released.
class PipeHolder {
public:
    PipeHolder() : thread_([this] { Serve(); }) {}
    ~PipeHolder() { Release(); }

    int Connections() const { return connections_.load(); }

    void Release() {
        if (!thread_.joinable()) return;
        releasing_ = true;
        // Wakes the thread's waiting ConnectNamedPipe with one last connection.
        UniqueKernelHandle wake(CreateFileW(kPipeName, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        thread_.join();
    }

private:
    static constexpr wchar_t kPipeName[] = L"\\\\.\\pipe\\QuorlenPipe";

    static UniqueKernelHandle NewInstance() {
        return UniqueKernelHandle(CreateNamedPipeW(kPipeName, PIPE_ACCESS_INBOUND,
                                                   PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 4, 0, 8192,
                                                   0, nullptr));
    }

    // The next instance is made before the connected one goes, so the pipe is
    // never without a free instance while it is held.
    void Serve() {
        UniqueKernelHandle pipe = NewInstance();
        while (pipe && !releasing_) {
            const bool connected = ConnectNamedPipe(pipe.get(), nullptr) || GetLastError() == ERROR_PIPE_CONNECTED;
            if (connected && !releasing_) ++connections_;
            UniqueKernelHandle next = NewInstance();
            DisconnectNamedPipe(pipe.get());
            pipe = std::move(next);
        }
    }

    std::atomic<bool> releasing_{false};
    std::atomic<int> connections_{0};
    std::thread thread_;
};

TEST(Restart, WaitsUntilThePreviousInstanceReleasesThePipe) {
    QuorlenInstall install;
    ASSERT_TRUE(install.Ready());
    PipeHolder previous;
    QuorlenProcess quorlen;
    ASSERT_TRUE(quorlen.Start(install, L"/n --restart /d"));

    // The restarting instance keeps knocking on the pipe and opens no window yet.
    ASSERT_TRUE(WaitUntil([&] { return previous.Connections() >= 3 || !quorlen.Running(); }, 15000));
    EXPECT_TRUE(quorlen.MainWindows().empty());

    previous.Release();
    EXPECT_NE(quorlen.WaitForMainWindow(), nullptr);
}

TEST(Restart, WithNoPreviousInstanceDoesNotWait) {
    QuorlenInstall install;
    ASSERT_TRUE(install.Ready());
    QuorlenProcess quorlen;
    ASSERT_TRUE(quorlen.Start(install, L"--restart"));
    // Well under the ten seconds the wait could last.
    EXPECT_NE(quorlen.WaitForMainWindow(8000), nullptr);
}

}  // namespace
