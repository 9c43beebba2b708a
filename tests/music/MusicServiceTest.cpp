// The shared player of the music service: lengths, their text, and playback
// that swallows every error.
#include <gtest/gtest.h>

#include <QFile>

#include "base/Swallow.h"
#include "music/MusicLength.h"
#include "music/MusicService.h"
#include "music/MusicTestUtil.h"

namespace music {
namespace {

using testing::DecodeWithFfmpeg;
using testing::MakeFile;
using testing::MakeMp3;
using testing::MaxSampleDifference;
using testing::ReadAll;
using testing::ScratchDir;
using testing::WaitUntil;

TEST(MusicService, MeasuresLengthsAndSaysWhyAFileHasNone) {
    const auto mp3 = MakeMp3("service-999ms.mp3", 0.999, 48000, 1, "sine", {"-b:a", "64k"});
    const base::Result<int32_t> length = GetMusicLength(mp3.path);
    ASSERT_TRUE(length.ok()) << length.message();
    EXPECT_EQ(*length, 999);
    EXPECT_EQ(FormatMusicLength(*length), "0:00:00");

    const auto vbr = MakeMp3("service-vbr.mp3", 2, 44100, 2, "noise", {"-q:a", "5"});
    EXPECT_EQ(GetMusicLength(vbr.path).value(), 2000);

    for (const QString& bad :
         {ScratchDir() + "/no-such-file.mp3", QString(), MakeFile("notes.mp3", "not music\n"),
          MakeFile("notes.flac", "not music at all\n")}) {
        const base::Result<int32_t> none = GetMusicLength(bad);
        ASSERT_FALSE(none.ok()) << bad.toStdString();
        EXPECT_FALSE(none.message().empty());
    }
    // A failure leaves the player able to measure the next file.
    EXPECT_EQ(GetMusicLength(mp3.path).value(), 999);
}

TEST(MusicService, StopThenPlayAnotherFilePlaysItFromTheStart) {
    const auto first = MakeMp3("first.mp3", 30, 44100, 2, "sine", {"-b:a", "128k"});
    const auto second = MakeMp3("second.mp3", 1.5, 44100, 2, "noise", {"-q:a", "4"});
    TMPEGPlayer& player = SharedPlayer();
    ASSERT_TRUE(player.Loaded());

    base::IgnoreFault("no sound card here", PlayMusicFile(first.path));
    EXPECT_EQ(player.GetPlayerMode(), MPEGDLL_MODE_PLAYING);
    StopMusic(false);
    EXPECT_FALSE(player.Opened());
    EXPECT_EQ(player.GetPlayerMode(), MPEGDLL_MODE_CLOSED);

    // Listen to the second file through a PCM file.
    const QString pcm = ScratchDir() + "/service.pcm";
    player.SetOutputDevice(TOutputDevice::pcmfile);
    player.SetOutFilename(pcm);
    base::IgnoreFault("no sound card here", PlayMusicFile(second.path));
    EXPECT_TRUE(WaitUntil([&] { return !player.Playing(); }));
    const QByteArray reference = DecodeWithFfmpeg(second.path);
    const QByteArray played = ReadAll(pcm);
    ASSERT_EQ(played.size(), reference.size());
    EXPECT_LE(MaxSampleDifference(played, reference), 2);

    // Play while a track plays switches to the new file.
    player.SetOutputDevice(TOutputDevice::wavemapper);
    base::IgnoreFault("no sound card here", PlayMusicFile(first.path));
    base::IgnoreFault("no sound card here", PlayMusicFile(second.path));
    EXPECT_EQ(player.StreamName(), second.path);
    EXPECT_EQ(player.StreamLength(), 1500);
    EXPECT_TRUE(player.Playing());

    // Measuring a length ends the music.
    EXPECT_TRUE(GetMusicLength(first.path).ok());
    EXPECT_EQ(player.GetPlayerMode(), MPEGDLL_MODE_STOPPED);
    EXPECT_FALSE(player.Playing());
}

TEST(MusicService, StopMusicLeavesAStreamThatIsNotPlaying) {
    const auto mp3 = MakeMp3("idle.mp3", 1, 44100, 2, "sine", {"-b:a", "128k"});
    ASSERT_EQ(GetMusicLength(mp3.path).value(), 1000);
    StopMusic(false);
    ASSERT_NE(SharedPlayerIfAny(), nullptr);
    EXPECT_TRUE(SharedPlayerIfAny()->Opened());

    StopMusic(true);
    EXPECT_EQ(SharedPlayerIfAny(), nullptr);
    StopMusic(true);  // nothing to stop
    // The next use makes a new, working player.
    EXPECT_EQ(GetMusicLength(mp3.path).value(), 1000);
    EXPECT_TRUE(SharedPlayer().Loaded());
}

}  // namespace
}  // namespace music
