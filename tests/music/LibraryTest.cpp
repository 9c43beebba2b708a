// The decoder library, driven through the player component: lengths against
// ffmpeg's decoding, the PCM file output, ranges, damaged and foreign files,
// the silent default device and repeated use.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <thread>

#include "music/MPEGError.h"
#include "music/MPEGPlayer.h"
#include "music/MusicTestUtil.h"

namespace music {
namespace {

using testing::DecodeWithFfmpeg;
using testing::MakeFile;
using testing::MakeMp3;
using testing::MaxSampleDifference;
using testing::Mp3Fixture;
using testing::ReadAll;
using testing::SamplesToMs;
using testing::ScratchDir;
using testing::WaitUntil;

// ffmpeg and libmpg123 round differently by at most one step; anything
// misaligned or missing differs by far more.
constexpr int kDecoderTolerance = 2;

Mp3Fixture CoverArtMp3() {
    const QString cover = ScratchDir() + "/cover.png";
    if (!QFile::exists(cover)) {
        testing::RunFfmpeg(
            {"-f", "lavfi", "-i", "testsrc=size=64x64:rate=1", "-frames:v", "1", cover});
    }
    return MakeMp3("tagged.mp3", 3, 22050, 1, "sine",
                   {"-i", cover, "-map", "0", "-map", "1", "-c:v", "copy", "-b:a", "64k",
                    "-id3v2_version", "3", "-metadata", "title=Tagged", "-metadata:s:v",
                    "title=Album cover", "-metadata:s:v", "comment=Cover (front)"});
}

std::vector<Mp3Fixture> AllKinds() {
    return {
        MakeMp3("cbr.mp3", 3, 44100, 2, "sine", {"-b:a", "128k"}),
        MakeMp3("cbr-noxing.mp3", 3, 44100, 2, "sine", {"-b:a", "128k", "-write_xing", "0"}),
        MakeMp3("vbr.mp3", 3, 44100, 2, "noise", {"-q:a", "4"}),
        MakeMp3("vbr-noxing.mp3", 3, 44100, 2, "noise", {"-q:a", "4", "-write_xing", "0"}),
        CoverArtMp3(),
        MakeMp3("999ms.mp3", 0.999, 48000, 1, "sine", {"-b:a", "64k"}),
    };
}

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        player.SetTimerFreq(10);
        player.OnPlayEnd = [this](TMPEGPlayer*) { ++playEnds; };
        ASSERT_NO_THROW(player.LoadDLL());
        pcmPath = ScratchDir() + "/out.pcm";
        QFile::remove(pcmPath);
    }

    // Plays the open stream into the PCM file and returns what was written.
    QByteArray PlayToPcm() {
        player.SetOutputDevice(TOutputDevice::pcmfile);
        player.SetOutFilename(pcmPath);
        const int endsBefore = playEnds;
        player.Play();
        EXPECT_TRUE(WaitUntil([&] { return playEnds > endsBefore; }));
        return ReadAll(pcmPath);
    }

    TMPEGPlayer player;
    QString pcmPath;
    int playEnds = 0;
};

TEST_F(LibraryTest, LengthsEqualTheDecodedSampleCount) {
    for (const Mp3Fixture& mp3 : AllKinds()) {
        SCOPED_TRACE(mp3.path.toStdString());
        ASSERT_FALSE(mp3.path.isEmpty());
        const QByteArray reference = DecodeWithFfmpeg(mp3.path);
        ASSERT_FALSE(reference.isEmpty());
        const int64_t samples = reference.size() / (2 * mp3.channels);
        player.SetStreamName(mp3.path);
        player.Open();
        EXPECT_EQ(player.StreamLength(), SamplesToMs(samples, mp3.rate));
        EXPECT_EQ(player.GetLength(), player.StreamLength());
    }
    // With the encoder's delay and padding known, lengths are the encoded
    // durations themselves.
    player.SetStreamName(AllKinds()[0].path);
    player.Open();
    EXPECT_EQ(player.StreamLength(), 3000);
    player.SetStreamName(AllKinds()[5].path);
    player.Open();
    EXPECT_EQ(player.StreamLength(), 999);
}

TEST_F(LibraryTest, PcmFileHoldsExactlyTheDecodedSamples) {
    for (const Mp3Fixture& mp3 : AllKinds()) {
        SCOPED_TRACE(mp3.path.toStdString());
        player.SetStreamName(mp3.path);
        player.Open();
        const QByteArray played = PlayToPcm();
        const QByteArray reference = DecodeWithFfmpeg(mp3.path);
        ASSERT_EQ(played.size(), reference.size());
        EXPECT_LE(MaxSampleDifference(played, reference), kDecoderTolerance);
        EXPECT_FALSE(player.Playing());
    }
}

TEST_F(LibraryTest, PlaysTheRangeFromStartPosToEndPos) {
    const Mp3Fixture mp3 = AllKinds()[0];
    const QByteArray whole = DecodeWithFfmpeg(mp3.path);
    player.SetStreamName(mp3.path);
    player.Open();
    player.SetStartPos(1000);
    player.SetEndPos(2000);
    const QByteArray played = PlayToPcm();
    const qsizetype frameBytes = 2 * mp3.channels;
    const QByteArray slice = whole.mid(mp3.rate * frameBytes, mp3.rate * frameBytes);
    ASSERT_EQ(played.size(), slice.size());
    EXPECT_LE(MaxSampleDifference(played, slice), kDecoderTolerance);

    // An end before the start plays to the end of the stream.
    player.Close();
    player.Open();
    player.SetStartPos(2500);
    player.SetEndPos(100);
    EXPECT_EQ(PlayToPcm().size(), whole.size() - 2500 * 44100 / 1000 * frameBytes);
}

TEST_F(LibraryTest, DamagedFileLengthMatchesWhatPlays) {
    // Cut inside a frame, with an Xing header that still promises 3 s.
    const QByteArray whole = ReadAll(AllKinds()[0].path);
    const QString cut = MakeFile("cut.mp3", whole.left(30000));
    player.SetStreamName(cut);
    player.Open();
    const int length = player.StreamLength();
    EXPECT_GT(length, 1000);
    EXPECT_LT(length, 3000);
    const QByteArray played = PlayToPcm();
    EXPECT_EQ(SamplesToMs(played.size() / 4, 44100), length);
}

// An ID3v2 header with a syncsafe size and `body` as its content.
QByteArray Id3Tag(const QByteArray& body, uint32_t claimedSize) {
    QByteArray tag("ID3\x03\x00\x00", 6);
    for (int shift = 21; shift >= 0; shift -= 7) tag += char((claimedSize >> shift) & 0x7F);
    return tag + body;
}

TEST_F(LibraryTest, GarbledTagsAreSteppedOver) {
    const Mp3Fixture clean = AllKinds()[0];
    const QByteArray audio = ReadAll(clean.path);
    const QByteArray garbage = QByteArray("\xFF\xFB\x90\x00 not a frame ").repeated(300);

    player.SetStreamName(MakeFile("garbled-tag.mp3", Id3Tag(garbage, garbage.size()) + audio));
    player.Open();
    EXPECT_EQ(player.StreamLength(), 3000);

    // A tag that claims more than the whole file leaves no audio to find.
    player.SetStreamName(MakeFile("oversized-tag.mp3", Id3Tag(garbage, 0x0FFFFFFF) + audio));
    try {
        player.Open();
        ADD_FAILURE() << "opened";
    } catch (const TMPEGError& error) {
        EXPECT_EQ(error.ErrorCode(), 3);
    }
}

TEST_F(LibraryTest, FilesThatAreNotMp3FailToOpen) {
    const QString png = ScratchDir() + "/picture.mp3";
    ASSERT_TRUE(testing::RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=32x32:rate=1", "-frames:v",
                                    "1", "-c:v", "png", "-f", "image2", png}));
    const QString wav = ScratchDir() + "/wave.mp3";
    ASSERT_TRUE(
        testing::RunFfmpeg({"-f", "lavfi", "-i", "anoisesrc=duration=1:sample_rate=44100:seed=3",
                            "-c:a", "pcm_s16le", "-f", "wav", wav}));
    QDir(ScratchDir()).mkpath("folder.mp3");
    const QStringList foreign = {
        png,
        wav,
        MakeFile("text.mp3", QByteArray("This is a text file, not music.\n").repeated(200)),
        MakeFile("empty.mp3", {}),
        ScratchDir() + "/folder.mp3",
        ScratchDir() + "/missing.mp3",
    };
    for (const QString& path : foreign) {
        SCOPED_TRACE(path.toStdString());
        player.SetStreamName(path);
        try {
            player.Open();
            ADD_FAILURE() << "opened";
        } catch (const TMPEGError& error) {
            EXPECT_EQ(error.ErrorCode(), 3);
            EXPECT_STREQ(error.what(), "Input stream error");
        }
        EXPECT_FALSE(player.Opened());
    }
    // The library is still usable afterwards.
    player.SetStreamName(AllKinds()[0].path);
    EXPECT_NO_THROW(player.Open());
}

TEST_F(LibraryTest, NamedPipeIsRefusedWithoutWaitingForAWriter) {
    const QString fifo = ScratchDir() + "/pipe.mp3";
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    player.SetStreamName(fifo);
    auto opening = std::async(std::launch::async, [&]() -> int {
        try {
            player.Open();
            return 0;
        } catch (const TMPEGError& error) {
            return error.ErrorCode();
        }
    });
    // Waiting is only the fallback: a refusal comes back at once.
    if (opening.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
        const int writer = open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) close(writer);
        opening.wait();
        FAIL() << "opening a named pipe waited for a writer";
    }
    EXPECT_EQ(opening.get(), 3);
    EXPECT_FALSE(player.Opened());
}

TEST_F(LibraryTest, DefaultDevicePlaysToTheEndWithOrWithoutSound) {
    const Mp3Fixture mp3 = MakeMp3("short.mp3", 0.4, 44100, 2, "sine", {"-b:a", "128k"});
    std::vector<std::pair<int, int>> reports;
    player.OnPosUpdate = [&](int pos, int len) { reports.emplace_back(pos, len); };
    player.SetStreamName(mp3.path);
    player.Open();
    player.Play();
    EXPECT_EQ(player.PlayedXTimes(), 2);
    ASSERT_TRUE(WaitUntil([&] { return playEnds == 1; }));
    EXPECT_FALSE(player.Playing());
    EXPECT_FALSE(player.Ended());
    ASSERT_FALSE(reports.empty());
    for (auto [pos, len] : reports) {
        EXPECT_EQ(len, 400);
        EXPECT_GE(pos, 0);
        EXPECT_LE(pos, 400);
    }
    EXPECT_EQ(player.GetPlayerMode(), MPEGDLL_MODE_ENDED);
}

TEST_F(LibraryTest, PauseHoldsThePositionUntilResumed) {
    const Mp3Fixture mp3 = MakeMp3("long.mp3", 30, 44100, 2, "sine", {"-b:a", "128k"});
    player.SetStreamName(mp3.path);
    player.Open();
    player.Play();
    ASSERT_TRUE(WaitUntil([&] { return player.GetCurrentPos() > 0; }));
    player.Pause(true);
    EXPECT_TRUE(player.Paused());
    EXPECT_EQ(player.GetPlayerMode(), MPEGDLL_MODE_PAUSED);
    const int held = player.GetCurrentPos();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(player.GetCurrentPos(), held);

    player.Play();  // resumes
    EXPECT_FALSE(player.Paused());
    EXPECT_EQ(player.GetPlayerMode(), MPEGDLL_MODE_PLAYING);
    ASSERT_TRUE(WaitUntil([&] { return player.GetCurrentPos() > held; }));

    player.Stop();
    EXPECT_EQ(player.GetPlayerMode(), MPEGDLL_MODE_STOPPED);
    player.Close();
    EXPECT_EQ(player.GetPlayerMode(), MPEGDLL_MODE_CLOSED);
    EXPECT_EQ(playEnds, 0);
}

TEST_F(LibraryTest, PlaysAgainFromTheStartAfterTheEnd) {
    const Mp3Fixture mp3 = AllKinds()[2];
    const QByteArray reference = DecodeWithFfmpeg(mp3.path);
    player.SetStreamName(mp3.path);
    player.Open();
    EXPECT_EQ(PlayToPcm().size(), reference.size());
    QFile::remove(pcmPath);
    const QByteArray again = PlayToPcm();  // a restart, the stream is still open
    EXPECT_EQ(player.PlayedXTimes(), 3);
    ASSERT_EQ(again.size(), reference.size());
    EXPECT_LE(MaxSampleDifference(again, reference), kDecoderTolerance);
}

TEST_F(LibraryTest, UnwritablePcmFileFailsOrEndsPlayback) {
    player.SetStreamName(AllKinds()[0].path);
    player.Open();
    player.SetOutputDevice(TOutputDevice::pcmfile);
    player.SetOutFilename(ScratchDir() + "/no-such-folder/out.pcm");
    try {
        player.Play();
        ADD_FAILURE() << "played into a missing folder";
    } catch (const TMPEGError& error) {
        EXPECT_EQ(error.ErrorCode(), 5);
        EXPECT_STREQ(error.what(), "Output device failure");
    }
    EXPECT_FALSE(player.Playing());

    // A full disk: playback stops early instead of hanging.
    player.SetOutFilename("/dev/full");
    player.Play();
    EXPECT_TRUE(WaitUntil([&] { return playEnds == 1; }));
    EXPECT_FALSE(player.Playing());
}

TEST_F(LibraryTest, RepeatedUseLeaksNothing) {
    const auto openDescriptors = [] {
        return QDir("/proc/self/fd").entryList(QDir::Files | QDir::System).size();
    };
    const std::vector<Mp3Fixture> kinds = AllKinds();
    // Warm up once so handles the libraries keep for good (the sound
    // system's) are counted.
    player.SetStreamName(kinds[0].path);
    player.Open();
    player.Play();
    player.Stop();
    player.Close();
    const auto before = openDescriptors();
    for (int i = 0; i < 100; ++i) {
        player.SetStreamName(kinds[i % kinds.size()].path);
        player.Open();
        EXPECT_GT(player.StreamLength(), 0);
        if (i % 10 == 0) {
            player.Play();
            player.Stop();
        }
        player.Close();
    }
    EXPECT_EQ(openDescriptors(), before);
}

}  // namespace
}  // namespace music
