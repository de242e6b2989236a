#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "common/reliability_tally.h"
#include "driver/quorlen_driver.h"
#include "driver/window_queries.h"
#include "reliability/channel_fixture.h"

namespace {

constexpr wchar_t kPipeName[] = L"\\\\.\\pipe\\QuorlenPipe";

UniqueKernelHandle ConnectSilently() {
    UniqueKernelHandle pipe;
    WaitUntil(
        [&] {
            pipe.reset(CreateFileW(kPipeName, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            return static_cast<bool>(pipe);
        },
        15000);
    return pipe;
}

// Every thread of a process held still, as a hung program would be, until
// the object goes away.
class FrozenProcess {
public:
    explicit FrozenProcess(DWORD processId) {
        UniqueKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
        THREADENTRY32 entry{};
        entry.dwSize = sizeof(entry);
        for (BOOL more = Thread32First(snapshot.get(), &entry); more; more = Thread32Next(snapshot.get(), &entry)) {
            if (entry.th32OwnerProcessID != processId) continue;
            UniqueKernelHandle thread(OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID));
            if (thread && SuspendThread(thread.get()) != static_cast<DWORD>(-1)) threads_.push_back(std::move(thread));
        }
    }
    ~FrozenProcess() {
        for (const UniqueKernelHandle& thread : threads_) ResumeThread(thread.get());
    }
    FrozenProcess(const FrozenProcess&) = delete;
    FrozenProcess& operator=(const FrozenProcess&) = delete;

    [[nodiscard]] bool Frozen() const { return !threads_.empty(); }

private:
    std::vector<UniqueKernelHandle> threads_;
};

using ReliabilityPipeSecurityTest = ChannelTest;

// A client that connects and never writes holds the pipe only for a moment:
// the next hand-off through the pipe, with its item selection, gets through.
TEST_F(ReliabilityPipeSecurityTest, AClientThatNeverWritesHoldsThePipeOnlyBriefly) {
    long long cases = 0;
    const std::wstring targets[] = {folders[1], folders[2]};
    for (const std::wstring& target : targets) {
        UniqueKernelHandle silent = ConnectSilently();
        ASSERT_TRUE(silent) << "the pipe never opened";
        ASSERT_TRUE(SendPipeRequest(target, 20000)) << "the pipe stayed busy behind a client that never writes";
        ++cases;
        // The silent client was let go: what it writes now goes nowhere.
        const wchar_t late[] = L"C:\\late";
        DWORD written = 0;
        EXPECT_FALSE(WriteFile(silent.get(), late, sizeof(late), &written, nullptr));
    }
    EXPECT_TRUE(WaitForTabCount(3));
    EXPECT_TRUE(WaitForActiveTitle(L"资料"));
    EXPECT_TRUE(Answers(window));
    RecordReliability({"silent pipe client", cases, cases, "", 0});
}

// A start facing an instance that does not answer at all waits a bounded
// time and says that nothing took its folder: it neither hangs, nor reports
// the folder delivered, nor becomes a second instance beside the first.
TEST_F(ReliabilityPipeSecurityTest, ASecondStartFacingAHungInstanceEndsWithoutStartingAnother) {
    // The pipe's one instance taken by a silent client, then every thread held.
    UniqueKernelHandle silent = ConnectSilently();
    ASSERT_TRUE(silent);
    QuorlenProcess second;
    {
        FrozenProcess hung(quorlen.Id());
        ASSERT_TRUE(hung.Frozen());
        ASSERT_TRUE(second.Start(install, Quoted(folders[1])));
        DWORD exitCode = 1;
        const bool ended = second.WaitForExit(60000, exitCode);
        EXPECT_TRUE(ended) << "the second start hangs on the hung instance";
        EXPECT_NE(exitCode, 0u) << "the second start reported its folder delivered";
        EXPECT_TRUE(second.MainWindows().empty()) << "a second instance runs beside the hung one";
        second.Kill();
    }
    silent.reset();
    EXPECT_TRUE(WaitUntil([&] { return Answers(window); }, 20000)) << "the instance did not come back";
    // Back on its feet, the instance serves hand-offs as before.
    ASSERT_TRUE(SendPipeRequest(folders[2], 20000));
    EXPECT_TRUE(WaitForActiveTitle(L"资料"));
    RecordReliability({"silent pipe client", 1, 1, "hung instance", 0});
}

}  // namespace
