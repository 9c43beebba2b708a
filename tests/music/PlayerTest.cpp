// The player component's state machine and its use of the library, against a
// stand-in library that records its calls.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <string>

#include "music/MPEGError.h"
#include "music/MPEGPlayer.h"

namespace music {
namespace {

// Control exports of the stand-in library.
struct FakeLibrary {
    explicit FakeLibrary(const QString& folder) {
        const QString path = TMPEGPlayer::LibraryPathFor(folder);
        handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) return;
        reset = reinterpret_cast<void (*)()>(dlsym(handle, "Fake_Reset"));
        calls = reinterpret_cast<const char* (*)()>(dlsym(handle, "Fake_Calls"));
        clearCalls = reinterpret_cast<void (*)()>(dlsym(handle, "Fake_ClearCalls"));
        setInit = reinterpret_cast<void (*)(uint8_t, int32_t)>(dlsym(handle, "Fake_SetInit"));
        setFailure =
            reinterpret_cast<void (*)(const char*, int32_t)>(dlsym(handle, "Fake_SetFailure"));
        setPosition =
            reinterpret_cast<void (*)(int32_t, int32_t)>(dlsym(handle, "Fake_SetPosition"));
        setMode = reinterpret_cast<void (*)(int32_t)>(dlsym(handle, "Fake_SetMode"));
        signalEnd = reinterpret_cast<void (*)()>(dlsym(handle, "Fake_SignalEnd"));
        endedAddress = reinterpret_cast<uint8_t* (*)()>(dlsym(handle, "Fake_EndedAddress"));
        reset();
    }
    ~FakeLibrary() {
        if (handle != nullptr) dlclose(handle);
    }
    std::string Calls() const { return calls(); }

    void* handle = nullptr;
    void (*reset)() = nullptr;
    const char* (*calls)() = nullptr;
    void (*clearCalls)() = nullptr;
    void (*setInit)(uint8_t, int32_t) = nullptr;
    void (*setFailure)(const char*, int32_t) = nullptr;
    void (*setPosition)(int32_t, int32_t) = nullptr;
    void (*setMode)(int32_t) = nullptr;
    void (*signalEnd)() = nullptr;
    uint8_t* (*endedAddress)() = nullptr;
};

QString FakeFolder() {
    return QCoreApplication::applicationDirPath() + "/fakempeg";
}

// Runs `action` and returns the TMPEGError it raised, failing the test when
// it raised none.
template <typename Action>
std::pair<std::string, int> ErrorOf(Action action) {
    try {
        action();
    } catch (const TMPEGError& error) {
        return {error.what(), error.ErrorCode()};
    }
    ADD_FAILURE() << "no TMPEGError";
    return {"", -1};
}

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(fake.handle, nullptr) << dlerror();
        player.SetPathToDLL(FakeFolder());
        player.SetUseTimer(false);  // ticks are driven by hand
        player.SetStreamName("/music/song.mp3");
    }
    void LoadAndClear() {
        player.LoadDLL();
        fake.clearCalls();
    }

    FakeLibrary fake{FakeFolder()};
    TMPEGPlayer player;
};

TEST(PathToDLL, JoinsFolderAndLibraryName) {
    EXPECT_EQ(TMPEGPlayer::LibraryPathFor(""), "libmpegdll.so");
    EXPECT_EQ(TMPEGPlayer::LibraryPathFor("/opt/vanto"), "/opt/vanto/libmpegdll.so");
    EXPECT_EQ(TMPEGPlayer::LibraryPathFor("/opt/vanto/"), "/opt/vanto/libmpegdll.so");
    EXPECT_EQ(TMPEGPlayer::LibraryPathFor("lib"), "lib/libmpegdll.so");
    EXPECT_EQ(TMPEGPlayer::LibraryPathFor("/"), "/libmpegdll.so");
}

TEST(MPEGError, MessagesAndCodes) {
    EXPECT_EQ(MPEGErrorMessage(0), "MPEG library not loaded");
    EXPECT_EQ(MPEGErrorMessage(1), "Internal decoder error");
    EXPECT_EQ(MPEGErrorMessage(2), "Incorrect mode");
    EXPECT_EQ(MPEGErrorMessage(3), "Input stream error");
    EXPECT_EQ(MPEGErrorMessage(4), "Input stream is non-seekable");
    EXPECT_EQ(MPEGErrorMessage(5), "Output device failure");
    EXPECT_EQ(MPEGErrorMessage(9), "MPEG library error 9");
    EXPECT_EQ(MPEGErrorFor(4).ErrorCode(), 4);
    EXPECT_EQ(MPEGErrorFor(300).ErrorCode(), 255);
}

TEST(PlayerPriority, MapsToThreadPriorityValues) {
    const std::pair<TPlayPriority, int32_t> table[] = {
        {TPlayPriority::Idle, -15},        {TPlayPriority::Lowest, -2},
        {TPlayPriority::BelowNormal, -1},  {TPlayPriority::Normal, 0},
        {TPlayPriority::AboveNormal, 1},   {TPlayPriority::Highest, 2},
        {TPlayPriority::TimeCritical, 15},
    };
    for (auto [priority, value] : table) {
        EXPECT_EQ(PriorityValue(priority), value);
        EXPECT_EQ(PriorityFromValue(value), priority);
    }
    EXPECT_EQ(PriorityFromValue(7), TPlayPriority::Normal);
    EXPECT_EQ(PriorityFromValue(-3), TPlayPriority::Normal);
}

TEST(PlayerWithoutLibrary, EveryOperationSaysNotLoaded) {
    TMPEGPlayer player;
    player.SetPathToDLL("/nonexistent/folder");
    EXPECT_EQ(ErrorOf([&] { player.LoadDLL(); }),
              std::make_pair(std::string("Can't load MPEG library"), 0));
    EXPECT_FALSE(player.Loaded());
    player.SetStreamName("/music/song.mp3");
    const auto notLoaded = std::make_pair(std::string("MPEG library not loaded"), 0);
    EXPECT_EQ(ErrorOf([&] { player.Open(); }), notLoaded);
    EXPECT_EQ(ErrorOf([&] { player.Play(); }), notLoaded);
    EXPECT_EQ(ErrorOf([&] { player.Pause(false); }), notLoaded);
    EXPECT_EQ(ErrorOf([&] { player.Restart(); }), notLoaded);
    EXPECT_EQ(ErrorOf([&] { player.Close(); }), notLoaded);
    EXPECT_EQ(ErrorOf([&] { player.GetLength(); }), notLoaded);
    // Stop checks the mode before anything else.
    EXPECT_EQ(ErrorOf([&] { player.Stop(); }), std::make_pair(std::string("Incorrect mode"), 2));
}

TEST(PlayerWithoutLibrary, MissingExportUnloadsTheLibrary) {
    TMPEGPlayer player;
    player.SetPathToDLL(QCoreApplication::applicationDirPath() + "/fakempeg-noseek/");
    EXPECT_EQ(ErrorOf([&] { player.LoadDLL(); }),
              std::make_pair(std::string("MPEG library not loaded"), 0));
    EXPECT_FALSE(player.Loaded());
    EXPECT_EQ(player.PositionTimer(), nullptr);
}

TEST_F(PlayerTest, FailingInitLeavesThePlayerUnloaded) {
    fake.setInit(0, 5);
    EXPECT_EQ(ErrorOf([&] { player.LoadDLL(); }),
              std::make_pair(std::string("Output device failure"), 5));
    EXPECT_FALSE(player.Loaded());
    EXPECT_EQ(player.LastErrorCode(), 5);
    EXPECT_EQ(ErrorOf([&] { player.Open(); }),
              std::make_pair(std::string("MPEG library not loaded"), 0));
}

TEST_F(PlayerTest, OpenReadsTheLengthAndCountsThePlays) {
    fake.setPosition(0, 185000);
    LoadAndClear();
    player.Open();
    EXPECT_EQ(fake.Calls(), "Open(/music/song.mp3,0);GetLength;");
    EXPECT_TRUE(player.Opened());
    EXPECT_EQ(player.StreamLength(), 185000);
    EXPECT_EQ(player.PlayedXTimes(), 1);

    player.SetStartPos(10);
    player.SetEndPos(20);
    player.Play();
    EXPECT_EQ(fake.Calls(),
              "Open(/music/song.mp3,0);GetLength;SetPriority(0);SetOutputDevice(0,);Play(10,20);");
    EXPECT_TRUE(player.Playing());
    EXPECT_EQ(player.PlayedXTimes(), 2);

    // Playing again while playing does nothing.
    fake.clearCalls();
    player.Play();
    EXPECT_EQ(fake.Calls(), "");

    player.Close();
    EXPECT_EQ(player.PlayedXTimes(), 0);
    EXPECT_FALSE(player.Opened());
    EXPECT_FALSE(player.Playing());
}

TEST_F(PlayerTest, EmptyStreamNameIsRefusedBeforeTheLibrary) {
    LoadAndClear();
    player.SetStreamName("");
    EXPECT_EQ(ErrorOf([&] { player.Open(); }),
              std::make_pair(std::string("Can't play non-specified stream"), 254));
    EXPECT_EQ(fake.Calls(), "");
    EXPECT_FALSE(player.Opened());
}

TEST_F(PlayerTest, LibraryErrorsBecomeExceptions) {
    LoadAndClear();
    fake.setFailure("Open", 3);
    EXPECT_EQ(ErrorOf([&] { player.Open(); }),
              std::make_pair(std::string("Input stream error"), 3));
    EXPECT_FALSE(player.Opened());
    EXPECT_EQ(player.LastErrorCode(), 3);

    fake.setFailure("Open", 0);
    fake.setFailure("Play", 5);
    player.Open();
    EXPECT_EQ(ErrorOf([&] { player.Play(); }),
              std::make_pair(std::string("Output device failure"), 5));
    EXPECT_FALSE(player.Playing());
    EXPECT_EQ(player.PlayedXTimes(), 1);

    fake.setFailure("Play", 0);
    fake.setFailure("GetLength", 7);
    EXPECT_EQ(ErrorOf([&] { player.GetLength(); }),
              std::make_pair(std::string("MPEG library error 7"), 7));
}

TEST_F(PlayerTest, OutputDeviceCodeNeedsAFileName) {
    LoadAndClear();
    player.SetOutputDevice(TOutputDevice::pcmfile);
    EXPECT_EQ(player.DeviceCode(), 0);
    player.SetOutFilename("/tmp/out.pcm");
    EXPECT_EQ(player.DeviceCode(), 2);
    player.SetOutputDevice(TOutputDevice::wavemapper);
    EXPECT_EQ(player.DeviceCode(), 0);

    player.SetOutputDevice(TOutputDevice::pcmfile);
    player.SetPlayerPriority(TPlayPriority::Idle);
    EXPECT_EQ(fake.Calls(), "SetPriority(-15);");
    player.Open();
    player.Play();
    EXPECT_NE(fake.Calls().find("SetPriority(-15);SetOutputDevice(2,/tmp/out.pcm);Play(0,0);"),
              std::string::npos);
    EXPECT_EQ(player.PlayerPriority(), TPlayPriority::Idle);
}

TEST_F(PlayerTest, StopWhenNotPlayingIsIncorrectMode) {
    LoadAndClear();
    EXPECT_EQ(ErrorOf([&] { player.Stop(); }), std::make_pair(std::string("Incorrect mode"), 2));
    player.Open();
    EXPECT_EQ(ErrorOf([&] { player.Stop(); }), std::make_pair(std::string("Incorrect mode"), 2));
    player.Play();
    fake.signalEnd();  // played out, not yet noticed by a tick
    EXPECT_EQ(ErrorOf([&] { player.Stop(); }), std::make_pair(std::string("Incorrect mode"), 2));
    EXPECT_EQ(fake.Calls().find("Stop"), std::string::npos);
}

TEST_F(PlayerTest, PauseRules) {
    LoadAndClear();
    player.Open();
    EXPECT_NO_THROW(player.Pause(false));
    EXPECT_FALSE(player.Paused());
    EXPECT_EQ(ErrorOf([&] { player.Pause(true); }),
              std::make_pair(std::string("Incorrect mode"), 2));

    player.Play();
    fake.clearCalls();
    player.Pause(true);
    EXPECT_TRUE(player.Paused());
    player.Play();  // resumes instead of starting again
    EXPECT_FALSE(player.Paused());
    EXPECT_EQ(fake.Calls(), "Pause(0);Pause(1);");
    EXPECT_EQ(player.PlayedXTimes(), 2);

    player.Pause(true);
    player.Stop();
    EXPECT_FALSE(player.Paused());
    EXPECT_FALSE(player.Playing());
}

TEST_F(PlayerTest, TicksReportPositionsAndTheEnd) {
    fake.setPosition(0, 1000);
    LoadAndClear();
    std::vector<std::pair<int, int>> reports;
    int ends = 0;
    player.OnPosUpdate = [&](int pos, int len) { reports.emplace_back(pos, len); };
    player.OnPlayEnd = [&](TMPEGPlayer* sender) {
        EXPECT_EQ(sender, &player);
        ++ends;
    };
    player.Open();
    player.Play();
    fake.setPosition(400, 1000);
    player.PositionTimerTick();
    fake.setPosition(5000, 1000);  // beyond the length
    player.PositionTimerTick();
    EXPECT_EQ(reports, (std::vector<std::pair<int, int>>{{400, 1000}, {0, 1000}}));
    EXPECT_EQ(ends, 0);

    fake.signalEnd();
    EXPECT_TRUE(player.Ended());
    player.PositionTimerTick();
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(player.Playing());
    EXPECT_FALSE(player.Ended());
    EXPECT_TRUE(player.Opened());

    // Once stopped, ticks report nothing.
    reports.clear();
    player.PositionTimerTick();
    EXPECT_TRUE(reports.empty());

    // Playing the same stream again restarts it.
    fake.clearCalls();
    player.Play();
    EXPECT_EQ(fake.Calls(), "Restart;");
    EXPECT_TRUE(player.Playing());
    EXPECT_EQ(player.PlayedXTimes(), 3);
}

TEST_F(PlayerTest, WithoutAnEndHandlerTheEndStaysSet) {
    LoadAndClear();
    player.Open();
    player.Play();
    fake.signalEnd();
    player.PositionTimerTick();
    EXPECT_FALSE(player.Playing());
    EXPECT_TRUE(player.Ended());

    // A new stream starts with a clean end flag.
    player.SetStreamName("/music/other.mp3");
    player.Open();
    player.Play();
    player.PositionTimerTick();
    EXPECT_TRUE(player.Playing());
    EXPECT_FALSE(player.Ended());
}

TEST_F(PlayerTest, RestartNeedsAnOpenStream) {
    LoadAndClear();
    EXPECT_EQ(ErrorOf([&] { player.Restart(); }), std::make_pair(std::string("Incorrect mode"), 2));
    player.Open();
    fake.clearCalls();
    player.Restart();
    EXPECT_EQ(fake.Calls(), "Restart;");
    EXPECT_TRUE(player.Playing());
}

TEST_F(PlayerTest, NewStreamNameClosesTheOpenStream) {
    LoadAndClear();
    player.SetStreamName("/music/a.mp3");
    EXPECT_EQ(fake.Calls(), "");
    player.Open();
    player.SetStreamName("/music/b.mp3");
    EXPECT_FALSE(player.Opened());
    EXPECT_EQ(fake.Calls(), "Open(/music/a.mp3,0);GetLength;Close;");
}

TEST_F(PlayerTest, DestroyingAnOpenPlayerClosesItsStream) {
    {
        TMPEGPlayer other;
        other.SetPathToDLL(FakeFolder());
        other.SetStreamName("/music/song.mp3");
        other.LoadDLL();
        other.Open();
        other.Play();
        EXPECT_NE(fake.endedAddress(), nullptr);
    }
    // The library no longer holds the address of the destroyed player's byte.
    EXPECT_EQ(fake.endedAddress(), nullptr);
    EXPECT_NE(fake.Calls().find("Close;"), std::string::npos);
}

TEST_F(PlayerTest, PositionTimerFollowsTheSettings) {
    player.SetUseTimer(true);
    player.SetTimerFreq(250);
    LoadAndClear();
    ASSERT_NE(player.PositionTimer(), nullptr);
    EXPECT_EQ(player.PositionTimer()->interval(), 250);
    EXPECT_FALSE(player.PositionTimer()->isActive());
    player.Open();
    player.Play();
    EXPECT_TRUE(player.PositionTimer()->isActive());
    EXPECT_NE(fake.Calls().find("Play(0,0);GetCurrentPos;"),
              std::string::npos);  // ticked once at once
    player.Stop();
    player.PositionTimerTick();
    EXPECT_FALSE(player.PositionTimer()->isActive());

    player.SetTimerFreq(0);
    EXPECT_FALSE(player.UseTimer());
}

}  // namespace
}  // namespace music
