// The queue between the encoder threads holds bytes, not frames: small
// pieces share it, a frame larger than the whole capacity (4K) still passes
// an empty queue, and the producer waits until the consumer makes room.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "video/BoundedQueue.h"

namespace video {
namespace {

TEST(BoundedQueueTest, HoldsBytesNotItems) {
    BoundedQueue<int> queue(100);
    queue.push(1, 60);
    queue.push(2, 40);  // full to the byte
    std::atomic<bool> pushed{false};
    std::thread producer([&] {
        queue.push(3, 10);
        pushed = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(pushed);
    EXPECT_EQ(queue.pop(), 1);
    producer.join();
    EXPECT_TRUE(pushed);
    EXPECT_EQ(queue.pop(), 2);
    EXPECT_EQ(queue.pop(), 3);

    queue.push(4, 1000);
    EXPECT_EQ(queue.pop(), 4);
}

}  // namespace
}  // namespace video
