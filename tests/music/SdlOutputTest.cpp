// Playback through SDL's queue (driven by the dummy driver): the end arrives,
// positions stay within the stream, pause holds the position.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QFile>

#include <chrono>
#include <cstring>
#include <thread>

#include "music/MPEGPlayer.h"
#include "music/MusicTestUtil.h"

namespace music {
namespace {

using testing::MakeMp3;
using testing::WaitUntil;

// The audio driver SDL runs with inside this process, once the library has
// started it; null before.
const char* CurrentSdlDriver() {
    void* sdl = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
    if (sdl == nullptr) return nullptr;
    auto driver = reinterpret_cast<const char* (*)()>(dlsym(sdl, "SDL_GetCurrentAudioDriver"));
    const char* name = driver != nullptr ? driver() : nullptr;
    dlclose(sdl);
    return name;
}

class SdlOutput : public ::testing::Test {
protected:
    void SetUp() override {
        player.SetTimerFreq(10);
        player.OnPlayEnd = [this](TMPEGPlayer*) { ++playEnds; };
        ASSERT_NO_THROW(player.LoadDLL());
    }
    TMPEGPlayer player;
    int playEnds = 0;
};

TEST_F(SdlOutput, PlaysThroughTheDeviceToTheEnd) {
    const auto mp3 = MakeMp3("sdl-short.mp3", 0.5, 22050, 1, "sine", {"-b:a", "64k"});
    std::vector<int> positions;
    player.OnPosUpdate = [&](int pos, int len) {
        EXPECT_EQ(len, 500);
        positions.push_back(pos);
    };
    player.SetStreamName(mp3.path);
    player.Open();
    player.Play();
    const char* driver = CurrentSdlDriver();
    ASSERT_NE(driver, nullptr);
    EXPECT_STREQ(driver, "dummy");
    ASSERT_TRUE(WaitUntil([&] { return playEnds == 1; }));
    ASSERT_FALSE(positions.empty());
    for (size_t i = 0; i < positions.size(); ++i) {
        EXPECT_GE(positions[i], 0);
        EXPECT_LE(positions[i], 500);
        if (i > 0) {
            EXPECT_GE(positions[i], positions[i - 1]);
        }
    }
    EXPECT_EQ(player.GetPlayerMode(), MPEGDLL_MODE_ENDED);
}

TEST_F(SdlOutput, PauseHoldsThePositionAndStopEndsPlayback) {
    const auto mp3 = MakeMp3("sdl-long.mp3", 20, 44100, 2, "sine", {"-b:a", "128k"});
    player.SetStreamName(mp3.path);
    player.Open();
    player.Play();
    ASSERT_TRUE(WaitUntil([&] { return player.GetCurrentPos() > 0; }));
    player.Pause(true);
    const int held = player.GetCurrentPos();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(player.GetCurrentPos(), held);
    player.Pause(false);
    ASSERT_TRUE(WaitUntil([&] { return player.GetCurrentPos() > held; }));
    player.Stop();
    EXPECT_EQ(player.GetPlayerMode(), MPEGDLL_MODE_STOPPED);
    EXPECT_EQ(playEnds, 0);
}

}  // namespace
}  // namespace music
