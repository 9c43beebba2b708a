// The decoder library's real-time outputs, driven directly: the position they
// report (what has been heard) never runs backwards and holds still while
// paused, whatever the feeder thread is doing at that moment.
#include <gtest/gtest.h>

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "mpegdll/AudioSink.h"

namespace mpegdll {
namespace {

using namespace std::chrono_literals;

TEST(ClockSink, PausedPositionHoldsWhileTheFeederCatchesUp) {
    // 1000 mono frames a second: a frame is a millisecond.
    const auto sink = OpenClockSink(1000, 1);
    std::atomic<bool> cancel{false};
    std::vector<uint8_t> block(2 * 10);
    ASSERT_TRUE(sink->write(block.data(), block.size(), cancel));
    // The clock runs past those ten frames: the feeder has fallen behind.
    std::this_thread::sleep_for(50ms);
    sink->setPaused(true);
    EXPECT_EQ(sink->playedFrames(), 10);

    // A block decoded before the pause arrives; nothing more is heard.
    std::vector<uint8_t> late(2 * 100);
    ASSERT_TRUE(sink->write(late.data(), late.size(), cancel));
    EXPECT_EQ(sink->playedFrames(), 10);

    sink->setPaused(false);
    EXPECT_GE(sink->playedFrames(), 10);
}

TEST(SdlSink, PositionNeverRunsBackWhileBlocksAreQueued) {
    const auto sink = OpenSdlSink(44100, 2);
    ASSERT_NE(sink, nullptr) << SDL_GetError();
    std::atomic<bool> cancel{false};
    std::atomic<bool> done{false};
    std::thread feeder([&] {
        // Small blocks, many of them: two seconds of sound in 5 ms pieces.
        std::vector<uint8_t> block(220 * 4);
        for (int i = 0; i < 400 && !cancel.load(); ++i)
            if (!sink->write(block.data(), block.size(), cancel)) break;
        done.store(true);
    });
    int64_t previous = 0;
    int backwards = 0;
    while (!done.load()) {
        const int64_t played = sink->playedFrames();
        if (played < previous) ++backwards;
        previous = std::max(previous, played);
    }
    cancel.store(true);
    feeder.join();
    EXPECT_EQ(backwards, 0);
    EXPECT_GT(previous, 0);
    sink->finish();
}

TEST(SdlSink, PausedDeviceHoldsThePosition) {
    const auto sink = OpenSdlSink(44100, 2);
    ASSERT_NE(sink, nullptr) << SDL_GetError();
    std::atomic<bool> cancel{false};
    std::vector<uint8_t> block(4410 * 4);  // 100 ms
    ASSERT_TRUE(sink->write(block.data(), block.size(), cancel));
    sink->setPaused(true);
    const int64_t held = sink->playedFrames();
    ASSERT_TRUE(sink->write(block.data(), block.size(), cancel));
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(sink->playedFrames(), held);
    sink->setPaused(false);
    sink->finish();
}

}  // namespace
}  // namespace mpegdll
