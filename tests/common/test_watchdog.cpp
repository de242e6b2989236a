#include "common/test_watchdog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "common/reliability_tally.h"

namespace {

constexpr long long kDefaultTestSeconds = 300;
constexpr DWORD kCheckEveryMs = 1000;

// A budget from the environment: a positive number of seconds, else the fallback.
ULONGLONG BudgetMs(const char* name, long long fallbackSeconds) {
    const long long seconds = EnvironmentNumber(name, fallbackSeconds);
    return static_cast<ULONGLONG>(seconds > 0 ? seconds : fallbackSeconds) * 1000;
}

// What the watch thread reads. It is never freed: gtest deletes its listeners
// during the program's exit, which the thread goes on watching.
struct WatchState {
    std::mutex mutex;
    std::string running;  // empty between tests
    ULONGLONG since = 0;
};

void StopTheProgram(const std::string& running, const char* what, ULONGLONG elapsedMs) {
    const std::string name = running.empty() ? std::string("no test (between tests)") : running;
    std::fprintf(stderr, "\nwatchdog: %s %s %llu s; stopping the test program\n", name.c_str(), what,
                 static_cast<unsigned long long>(elapsedMs / 1000));
    std::fflush(stdout);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
}

[[noreturn]] void Watch(WatchState* state, ULONGLONG testBudgetMs, ULONGLONG programBudgetMs) {
    const ULONGLONG programStart = GetTickCount64();
    for (;;) {
        Sleep(kCheckEveryMs);
        const std::lock_guard<std::mutex> lock(state->mutex);
        const ULONGLONG now = GetTickCount64();
        if (!state->running.empty() && now - state->since > testBudgetMs) {
            StopTheProgram(state->running, "has run for", now - state->since);
        }
        if (programBudgetMs > 0 && now - programStart > programBudgetMs) {
            StopTheProgram(state->running, "was running when the program reached its limit of", now - programStart);
        }
    }
}

class WatchdogListener : public testing::EmptyTestEventListener {
public:
    explicit WatchdogListener(WatchState* state) : state_(state) {}

    void OnTestStart(const testing::TestInfo& test) override {
        Running(std::string(test.test_suite_name()) + "." + test.name());
    }
    void OnTestEnd(const testing::TestInfo&) override { Running({}); }
    void OnTestProgramEnd(const testing::UnitTest&) override { Running("the program's exit, after its last test"); }

private:
    void Running(std::string what) {
        const std::lock_guard<std::mutex> lock(state_->mutex);
        state_->running = std::move(what);
        state_->since = GetTickCount64();
    }

    WatchState* state_;
};

}  // namespace

void InstallTestWatchdog() {
    auto* state = new WatchState;
    const ULONGLONG testBudgetMs = BudgetMs("QUORLEN_TEST_SECONDS", kDefaultTestSeconds) * SoakFactor();
    std::thread(Watch, state, testBudgetMs, BudgetMs("QUORLEN_PROGRAM_SECONDS", 0)).detach();
    testing::UnitTest::GetInstance()->listeners().Append(new WatchdogListener(state));
}
