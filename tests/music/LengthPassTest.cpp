// The length pass over the music list: which rows it measures and what it
// writes into them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <atomic>
#include <thread>

#include "base/Swallow.h"
#include "model/FileIo.h"
#include "model/MusicBeats.h"
#include "model/MusicMixSettings.h"
#include "model/Settings.h"
#include "music/LengthWorker.h"
#include "music/MusicLength.h"
#include "music/MusicService.h"
#include "music/MusicTestUtil.h"
#include "sound/SoundTestUtil.h"

namespace music {
namespace {

using testing::MakeFile;
using testing::MakeMp3;
using testing::ScratchDir;

model::TMusicEntry Row(const QString& path) {
    model::TMusicEntry entry;
    entry.Path = path.toStdString();
    return entry;
}

model::TMusicEntry RowWithLength(const QString& path, const std::string& lengthMs) {
    model::TMusicEntry entry = Row(path);
    entry.HasLength = true;
    entry.LengthMs = lengthMs;
    entry.LengthText = "stored";
    return entry;
}

TEST(LengthPass, MeasuresRowsWithoutALengthOnly) {
    const auto second = MakeMp3("pass-1s.mp3", 1, 44100, 2, "sine", {"-b:a", "128k"});
    const auto short999 = MakeMp3("pass-999ms.mp3", 0.999, 48000, 1, "sine", {"-b:a", "64k"});
    const QString foreign = MakeFile("pass-notes.mp3", "not music\n");

    model::MusicList list;
    list.Append(Row(second.path));                      // added by the user
    list.Append(RowWithLength(second.path, "0"));       // stored without a length
    list.Append(RowWithLength(second.path, "123456"));  // stored length, kept
    list.Append(RowWithLength(second.path, "-1"));      // failed before, file unknown: retried
    model::TMusicEntry failed = RowWithLength(foreign, "-1");
    failed.Stamp = model::FileStamp(foreign.toStdString());
    list.Append(failed);  // failed on this very file: not retried
    list.Append(Row(short999.path));
    list.Append(Row(foreign));
    list.Append(Row(ScratchDir() + "/gone.mp3"));  // missing, skipped
    list.Append(RowWithLength(ScratchDir() + "/gone.mp3", "0"));
    list.Append(RowWithLength(second.path, "12.5"));  // garbled in the project: measured again

    EXPECT_EQ(MeasureMusicLengths(list), 6);
    const auto& rows = list.Entries();
    EXPECT_EQ(rows[0].LengthMs, "1000");
    EXPECT_EQ(rows[0].LengthText, "0:00:01");
    EXPECT_TRUE(rows[0].HasLength);
    EXPECT_EQ(rows[1].LengthMs, "1000");
    EXPECT_EQ(rows[2].LengthMs, "123456");
    EXPECT_EQ(rows[2].LengthText, "stored");
    EXPECT_EQ(rows[3].LengthMs, "1000");
    EXPECT_EQ(rows[3].Stamp, model::FileStamp(second.path.toStdString()));
    EXPECT_EQ(rows[4].LengthText, "stored");
    EXPECT_EQ(rows[5].LengthMs, "999");
    EXPECT_EQ(rows[5].LengthText, "0:00:00");
    EXPECT_EQ(rows[6].LengthMs, "-1");
    EXPECT_EQ(rows[6].LengthText, "0:00:00");
    EXPECT_FALSE(rows[7].HasLength);
    EXPECT_EQ(rows[8].LengthMs, "0");
    EXPECT_EQ(rows[9].LengthMs, "1000");

    // A second pass finds nothing left to measure.
    EXPECT_EQ(MeasureMusicLengths(list), 0);

    // The file that failed is replaced by music: its size changed, so it is
    // measured again.
    ASSERT_TRUE(QFile::remove(foreign));
    ASSERT_TRUE(QFile::copy(second.path, foreign));
    EXPECT_EQ(MeasureMusicLengths(list), 2);
    EXPECT_EQ(list.At(4).LengthMs, "1000");
    EXPECT_EQ(list.At(6).LengthMs, "1000");
}

// Formats beyond MP3 measure through FFmpeg; every file gets its loudness
// and beats, also one whose length was stored before loudness was kept and
// one stored before beats were, and a file that is not music keeps why.
TEST(LengthPass, MeasuresEveryFormatWithItsLoudnessAndNamesWhatFails) {
    const sound::test::EncodedFormat& flac = sound::test::EncodedFormats()[1];
    const QString tune = ScratchDir() + "/pass-tune.flac";
    sound::test::Encode(sound::test::Tone(440, 0.25, flac.sampleRate), 0.5, flac,
                        tune.toStdString());
    const auto mp3 = MakeMp3("pass-loudness.mp3", 1, 44100, 2, "sine", {"-b:a", "128k"});
    const QString words = MakeFile("pass-words.flac", "no sound in here\n");
    const QString clicks = ScratchDir() + "/pass-clicks.flac";
    sound::test::Encode(sound::test::Clicks(120, flac.sampleRate), 8, flac, clicks.toStdString());

    model::MusicList list;
    list.Append(Row(tune));
    list.Append(RowWithLength(mp3.path, "1000"));
    list.Append(Row(words));
    model::TMusicEntry beforeBeats = RowWithLength(clicks, "8000");
    beforeBeats.Loudness = "-20.00 0.50000";
    list.Append(beforeBeats);
    EXPECT_EQ(MeasureMusicLengths(list), 2);  // the lengths measured
    const auto& rows = list.Entries();
    EXPECT_EQ(rows[0].LengthMs, "500");
    EXPECT_EQ(rows[1].LengthText, "stored");
    for (const size_t row : {0, 1}) {
        const auto loudness = model::ParseLoudnessText(rows[row].Loudness);
        ASSERT_TRUE(loudness) << rows[row].Loudness;
        EXPECT_LT(loudness->lufs, -5);
        EXPECT_GT(loudness->lufs, -40);
        EXPECT_GT(loudness->peak, 0.05);
    }
    EXPECT_EQ(rows[2].LengthMs, "-1");
    EXPECT_EQ(rows[2].Fault, "it holds no audio");
    EXPECT_EQ(rows[2].Loudness, "none");
    // A tone and a file without sound have no beat; the clicks keep theirs.
    for (const size_t row : {0, 2}) EXPECT_EQ(rows[row].Beats, "none");
    const auto beats = model::ParseBeatsText(rows[3].Beats);
    ASSERT_TRUE(beats) << rows[3].Beats;
    EXPECT_NEAR(beats->tempo, 120, 1.2);
    EXPECT_EQ(rows[3].LengthMs, "8000");
    EXPECT_EQ(MeasureMusicLengths(list), 0);
    EXPECT_EQ(list.At(3).Beats, rows[3].Beats);
}

// The pass on a thread of its own gives what the pass in line gives, and a
// cancel stops it after the file under way, keeping what is done.
TEST(LengthPass, TheWorkerMeasuresAsThePassInLineAndStopsWhenCancelled) {
    const auto mp3 = MakeMp3("worker-1s.mp3", 1, 44100, 2, "sine", {"-b:a", "128k"});
    const QString words = MakeFile("worker-words.flac", "no sound in here\n");
    model::MusicList inLine;
    for (const QString& path : {mp3.path, words, mp3.path, ScratchDir() + "/worker-gone.mp3"})
        inLine.Append(Row(path));
    model::MusicList background = inLine;
    EXPECT_EQ(MeasureMusicLengths(inLine), 3);

    std::vector<LengthJob> jobs = PendingLengthJobs(background);
    ASSERT_EQ(jobs.size(), 2u);  // one per file that is there
    std::atomic<int> calls{0};
    LengthWorker worker(std::move(jobs), [&] { ++calls; });
    worker.Wait();
    EXPECT_TRUE(worker.Done());
    EXPECT_EQ(worker.Finished(), 2);
    EXPECT_EQ(calls, 3);
    int measured = 0;
    for (const LengthJob& job : worker.TakeFinished()) measured += ApplyLengthJob(background, job);
    EXPECT_EQ(measured, 3);
    EXPECT_EQ(background.Entries(), inLine.Entries());

    model::MusicList cancelled;
    for (const QString& path : {mp3.path, words}) cancelled.Append(Row(path));
    // The worker cancels itself after its first file, once it knows itself.
    std::atomic<LengthWorker*> self{nullptr};
    LengthWorker stopping(PendingLengthJobs(cancelled), [&] {
        LengthWorker* worker = nullptr;
        while ((worker = self.load()) == nullptr) std::this_thread::yield();
        worker->Cancel();
    });
    self = &stopping;
    stopping.Wait();
    std::vector<LengthJob> done = stopping.TakeFinished();
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(ApplyLengthJob(cancelled, done[0]), 1);
    EXPECT_EQ(cancelled.At(0).LengthMs, "1000");
    EXPECT_FALSE(cancelled.At(1).HasLength);
}

TEST(LengthPass, ResolvesNamesUnderTheSampleFolder) {
    const QString programDir = ScratchDir() + "/program/";
    ASSERT_TRUE(QDir().mkpath(programDir + "sample"));
    const auto mp3 = MakeMp3("pass-sample.mp3", 2, 44100, 2, "sine", {"-b:a", "128k"});
    ASSERT_TRUE(QFile::copy(mp3.path, programDir + "sample/tune.mp3"));
    model::SetProgramDir(programDir.toStdString());

    model::MusicList list;
    list.Append(Row("tune.mp3"));
    EXPECT_EQ(MeasureMusicLengths(list), 1);
    EXPECT_EQ(list.At(0).Path, "tune.mp3");  // the row keeps its text
    EXPECT_EQ(list.At(0).LengthMs, "2000");
    model::SetProgramDir("");
}

TEST(LengthPass, MeasuringStopsMusicPlayingFromTheSharedPlayer) {
    const auto playing = MakeMp3("pass-playing.mp3", 30, 44100, 2, "sine", {"-b:a", "128k"});
    const auto added = MakeMp3("pass-added.mp3", 1, 44100, 2, "sine", {"-b:a", "128k"});
    base::IgnoreFault("no sound card here", PlayMusicFile(playing.path));
    ASSERT_TRUE(SharedPlayer().Playing());

    model::MusicList list;
    list.Append(RowWithLength(playing.path, "30000"));
    EXPECT_EQ(MeasureMusicLengths(list), 0);
    EXPECT_TRUE(SharedPlayer().Playing());  // nothing measured, music goes on

    list.Append(Row(added.path));
    EXPECT_EQ(MeasureMusicLengths(list), 1);
    EXPECT_FALSE(SharedPlayer().Playing());
    EXPECT_NE(SharedPlayer().GetPlayerMode(), MPEGDLL_MODE_PLAYING);
}

}  // namespace
}  // namespace music
