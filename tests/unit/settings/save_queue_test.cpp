#include "settings/save_queue.h"

#include <gtest/gtest.h>

#include <future>
#include <vector>

namespace {

// The jobs only append to the log, and the test reads it only once the queue
// has said they ran, which orders the two.
TEST(SaveQueue, JobsRunInTheOrderPushedAndAFlushWaitsForAllOfThem) {
    SaveQueue queue;
    std::vector<int> log;
    std::promise<void> gate;
    std::shared_future<void> opened = gate.get_future().share();
    // The first job waits until the test is about to flush, so that a flush
    // returning early would find it, and all after it, not yet run.
    queue.Push([opened, &log] {
        opened.wait();
        log.push_back(0);
    });
    for (int job = 1; job < 50; ++job) queue.Push([job, &log] { log.push_back(job); });
    gate.set_value();
    queue.Flush();

    std::vector<int> expected;
    for (int job = 0; job < 50; ++job) expected.push_back(job);
    EXPECT_EQ(log, expected);
}

TEST(SaveQueue, FinishRunsWhatIsQueuedAndWhatThoseJobsQueueThenRunsLaterJobsAtOnce) {
    std::vector<int> log;
    {
        SaveQueue queue;
        queue.Push([&queue, &log] {
            log.push_back(1);
            queue.Push([&log] { log.push_back(3); });
        });
        queue.Push([&log] { log.push_back(2); });
        queue.Finish();
        EXPECT_EQ(log, (std::vector<int>{1, 2, 3}));

        queue.Push([&log] { log.push_back(4); });
        EXPECT_EQ(log, (std::vector<int>{1, 2, 3, 4})) << "a job pushed after the finish ran on its caller";
        queue.Flush();
    }

    std::vector<int> late;
    {
        SaveQueue queue;
        queue.Push([&late] { late.push_back(1); });
    }
    EXPECT_EQ(late, std::vector<int>{1}) << "the destructor made the job still queued";
}

}  // namespace
