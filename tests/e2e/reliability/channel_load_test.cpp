#include <windows.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/instance_claim.h"
#include "common/private_prefix.h"
#include "common/reliability_tally.h"
#include "driver/quorlen_driver.h"
#include "driver/tab_drag.h"
#include "driver/window_queries.h"
#include "reliability/channel_fixture.h"

namespace {

constexpr int kClientThreads = 8;
constexpr int kSecondStarts = 4;

// Folders of the test's own beside the fixture's, for requests in bulk.
class ReliabilityLoadTest : public ChannelTest {
protected:
    void SetUp() override {
        ChannelTest::SetUp();
        if (HasFatalFailure()) return;
        for (int i = 0; i < 12; ++i) {
            pool.push_back((data.Path() / (L"load " + std::to_wstring(i))).wstring());
            std::filesystem::create_directories(pool.back());
        }
    }

    // Opens a folder by pipe and closes its tab again, some number of times.
    void OpenAndCloseTabs(long long cycles, long long& failures) {
        for (long long i = 0; i < cycles && !HasFatalFailure(); ++i) {
            if (!SendPipeRequest(pool[static_cast<size_t>(i) % pool.size()]) || !WaitForTabCount(2) ||
                !CloseAllButTheFirstTab()) {
                ++failures;
                ADD_FAILURE() << "cycle " << i << " did not open and close its tab";
                return;
            }
        }
    }

    // The process's use once it has settled after the last operation.
    ProcessCost SettledUse() {
        EXPECT_TRUE(Answers(window));
        Sleep(1500);
        return MeasureProcess(quorlen.Id());
    }

    // The names of the saved tabs' folders, for messages.
    std::string SavedNames() const {
        std::wstring names;
        for (const std::wstring& path : ReadConfigLines(install, L"tabs.txt")) {
            names += path.substr(path.find_last_of(L'\\') + 1) + L"; ";
        }
        return NarrowForTest(names);
    }

    std::vector<std::wstring> pool;
};

TEST_F(ReliabilityLoadTest, AThousandHandOffsFromParallelClientsOpenEachFolderOnce) {
    // Every folder once, so that what loads on first use is loaded before the count.
    long long failures = 0;
    for (const std::wstring& folder : pool) ASSERT_TRUE(SendPipeRequest(folder));
    ASSERT_TRUE(WaitForTabCount(static_cast<LRESULT>(pool.size() + 1)));
    ASSERT_TRUE(CloseAllButTheFirstTab()) << "tabs left: " << Query(strip, kTabCount);
    const ProcessCost before = SettledUse();

    const long long requests = Scaled(1000);
    std::atomic<long long> next = 0;
    std::atomic<long long> undelivered = 0;
    std::vector<std::set<size_t>> chosen(kClientThreads);
    std::vector<std::thread> clients;
    for (int t = 0; t < kClientThreads; ++t) {
        clients.emplace_back([&, t] {
            std::mt19937 random(ReliabilitySeed() + static_cast<unsigned>(t));
            std::uniform_int_distribution<size_t> pick(0, pool.size() - 1);
            while (next++ < requests) {
                const size_t folder = pick(random);
                chosen[static_cast<size_t>(t)].insert(folder);
                if (!HandOffLikeASecondStart(pool[folder])) ++undelivered;
            }
        });
    }
    // Real second starts in the middle of the storm.
    std::vector<std::unique_ptr<QuorlenProcess>> starts;
    for (int i = 0; i < kSecondStarts; ++i) {
        starts.push_back(std::make_unique<QuorlenProcess>());
        EXPECT_TRUE(starts.back()->Start(install, Quoted(pool[static_cast<size_t>(i)])));
    }
    long long unanswered = 0;
    long long probes = 0;
    while (next.load() < requests) {
        ++probes;
        if (!Answers(window)) ++unanswered;
        Sleep(50);
    }
    for (std::thread& client : clients) client.join();
    for (const auto& start : starts) {
        DWORD exitCode = 1;
        EXPECT_TRUE(start->WaitForExit(60000, exitCode) && exitCode == 0) << "a second start did not hand over";
    }
    EXPECT_EQ(unanswered, 0) << "of " << probes << " probes during the storm";
    EXPECT_EQ(undelivered.load(), 0);
    // Requests through the pipe queue up behind one another: once one sent
    // after the storm has arrived, every request before it has been handled.
    ASSERT_TRUE(SendPipeRequest(folders[1]));
    ASSERT_TRUE(WaitForActiveTitle(L"beta", 180000)) << "the requests of the storm were never all handled";

    // Repeated folders activate their tab rather than open another.
    std::set<size_t> distinct;
    for (const auto& some : chosen) distinct.insert(some.begin(), some.end());
    for (size_t i = 0; i < kSecondStarts; ++i) distinct.insert(i);
    const auto expectedTabs = static_cast<LRESULT>(distinct.size() + 2);
    EXPECT_TRUE(WaitUntil([&] { return Query(strip, kTabCount) == expectedTabs; }, 60000))
        << "tabs: " << Query(strip, kTabCount) << ", expected " << expectedTabs;
    EXPECT_TRUE(WaitUntil([&] { return ReadConfigLines(install, L"tabs.txt").size() == distinct.size() + 2; }, 20000));

    ASSERT_TRUE(CloseAllButTheFirstTab()) << "tabs left: " << Query(strip, kTabCount);
    const ProcessCost after = SettledUse();
    std::string why;
    EXPECT_TRUE(WithinSteadyLevel(before, after, why)) << why;
    failures += unanswered + undelivered.load();
    RecordReliability({"hand-off storm", requests + kSecondStarts, 0,
                       std::to_string(requests) + " hand-offs, " + std::to_string(kClientThreads) + " clients, " +
                           std::to_string(kSecondStarts) + " second starts; " + why,
                       failures});
}

// Requests handed over one right after another, by the client code a second
// start runs, open their tabs in that order, and the last one asked for ends
// up active: the next request finds the pipe still busy with the one before.
TEST_F(ReliabilityLoadTest, HandOffsMadeOneAfterAnotherOpenInTheirOrder) {
    long long cases = 0;
    for (long long round = 0; round < Scaled(2); ++round) {
        ASSERT_TRUE(CloseAllButTheFirstTab());
        for (const std::wstring& folder : pool) {
            InstanceClaim start;
            ASSERT_EQ(start.ClaimOrHandOff(folder, false), StartRole::HandedOff);
            ++cases;
        }
        std::vector<std::wstring> expected{folders[0]};
        expected.insert(expected.end(), pool.begin(), pool.end());
        EXPECT_TRUE(WaitForSavedTabs(expected)) << "round " << round << ", saved: " << SavedNames();
        EXPECT_EQ(Query(strip, kActiveTab), static_cast<LRESULT>(pool.size())) << "round " << round;
    }
    RecordReliability({"hand-off order", cases, 0, "", 0});
}

// The short run holds these cycle counts down to stay quick; the soak run
// (twenty times as many) takes both to 200 and beyond.
constexpr long long kTabCycles = 30;
constexpr long long kWindowCycles = 10;

TEST_F(ReliabilityLoadTest, OpeningAndClosingTabsLeaksNothing) {
    const long long cycles = Scaled(kTabCycles);
    const long long plateau = cycles / 4;
    long long failures = 0;
    OpenAndCloseTabs(plateau, failures);
    const ProcessCost early = SettledUse();
    OpenAndCloseTabs(cycles - plateau, failures);
    const ProcessCost late = SettledUse();
    std::string why;
    EXPECT_TRUE(WithinSteadyLevel(early, late, why)) << why;
    RecordReliability({"tab cycles", cycles, 0, std::to_string(cycles) + " open/close; " + why, failures});
}

// A second main window comes from a tab torn off the strip; it goes again when closed.
TEST_F(ReliabilityLoadTest, OpeningAndClosingASecondWindowLeaksNothing) {
    SetWindowPos(window, nullptr, 0, 0, 900, 600, SWP_NOZORDER);
    const long long cycles = Scaled(kWindowCycles);
    const long long plateau = cycles / 4;
    long long failures = 0;
    ProcessCost early;
    for (long long i = 0; i < cycles; ++i) {
        if (i == plateau) early = SettledUse();
        SetForegroundWindow(window);
        if (!SendPipeRequest(pool[static_cast<size_t>(i) % pool.size()]) || !WaitForTabCount(2)) {
            ++failures;
            ADD_FAILURE() << "cycle " << i << ": no second tab";
            break;
        }
        if (const testing::AssertionResult dragged = DragTab(strip, TabCentre(strip, 1, 2), POINT{1300, 700});
            !dragged) {
            ++failures;
            ADD_FAILURE() << "cycle " << i << ": " << dragged.message();
            break;
        }
        HWND second = nullptr;
        const bool torn = WaitUntil(
            [&] {
                for (HWND found : quorlen.MainWindows()) {
                    if (found != window) second = found;
                }
                return second != nullptr;
            },
            20000);
        if (!torn) {
            ++failures;
            ADD_FAILURE() << "cycle " << i << ": no second window";
            break;
        }
        PostMessageW(second, WM_CLOSE, 0, 0);
        if (!WaitUntil([&] { return quorlen.MainWindows().size() == 1 && Query(strip, kTabCount) == 1; }, 20000)) {
            ++failures;
            ADD_FAILURE() << "cycle " << i << ": the second window stayed";
            break;
        }
    }
    const ProcessCost late = SettledUse();
    std::string why;
    EXPECT_TRUE(WithinSteadyLevel(early, late, why)) << why;
    RecordReliability({"window cycles", cycles, 0, std::to_string(cycles) + " open/close; " + why, failures});
}

}  // namespace
