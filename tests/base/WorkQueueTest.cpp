// The queue's hand-over to its owner under load: whatever the timing, an
// owner that stops once the queue says it is done has every job.
#include <gtest/gtest.h>

#include <atomic>

#include "base/WorkQueue.h"

namespace {

TEST(WorkQueue, AnOwnerThatStopsWhenDoneHasEveryJob) {
    // The owner polls as fast as it can, as a window would on each 'ready',
    // so that a job finishing between taking and asking "done?" is likely
    // within a few hundred runs.
    for (int run = 0; run < 2000; ++run) {
        std::atomic<int> readies{0};
        base::WorkQueue<int> queue(
            "test", [](int& job, const auto&) { job *= 2; }, [&] { ++readies; }, {1, 2, 3}, true);
        std::vector<int> got;
        for (;;) {
            auto [jobs, done] = queue.TakeFinishedAndDone();
            got.insert(got.end(), jobs.begin(), jobs.end());
            if (done) break;
        }
        ASSERT_EQ(got, (std::vector<int>{2, 4, 6})) << "run " << run;
        queue.Wait();
        EXPECT_EQ(readies, 4);  // one per job and one when done
    }
}

}  // namespace
