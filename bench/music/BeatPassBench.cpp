// What finding the beats adds to the length pass: the pass over a few songs
// of three minutes (MP3 and FLAC, made once with the ffmpeg command line: a
// drum-like click at 124 a minute over noise), timed whole, and the beat
// tracker alone over the same decoded samples, in the thread's CPU time. The figure to hold is the
// tracker's share over the rest of the pass, at most 30%.
//
//   bench_beat_pass [data-folder]
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>

#include <cstdio>
#include <ctime>
#include <vector>

#include "base/FfmpegUtil.h"
#include "sound/AudioDecoder.h"
#include "sound/BeatTracker.h"
#include "sound/TrackMeasure.h"

namespace {

// The time this thread has run: the machine may be shared, and wall time
// would count the other programs' turns.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

bool Encode(const QString& path, const QStringList& codec) {
    const QString source =
        "aevalsrc='0.6*if(lt(mod(t,60/124),0.03),sin(2*PI*90*t),0)+0.1*sin(2*PI*440*t)':s=44100:"
        "d=180";
    QStringList arguments{"-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f",
                          "lavfi",        "-i",        source,  "-ac",      "2"};
    arguments += codec;
    arguments += path;
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", arguments);
    return ffmpeg.waitForFinished(-1) && ffmpeg.exitCode() == 0;
}

// The file's samples as the length pass decodes them: stereo, its own rate.
std::vector<int16_t> Decode(const std::string& path, int* rate) {
    auto decoder = std::move(sound::AudioDecoder::Open(path, 0, 2)).value();
    *rate = decoder->sampleRate();
    const base::AudioFifoPtr fifo(av_audio_fifo_alloc(AV_SAMPLE_FMT_S16, 2, *rate));
    std::vector<int16_t> samples;
    for (bool more = true; more;) {
        more = decoder->decodeInto(fifo.get());
        const int count = av_audio_fifo_size(fifo.get());
        if (count <= 0) continue;
        const size_t at = samples.size();
        samples.resize(at + static_cast<size_t>(count) * 2);
        void* planes[1] = {samples.data() + at};
        av_audio_fifo_read(fifo.get(), planes, count);
    }
    return samples;
}

}  // namespace

int main(int argc, char** argv) {
    const QString folder = argc > 1 ? argv[1] : VANTO_BENCH_DATA;
    QDir().mkpath(folder);
    const struct {
        const char* name;
        QStringList codec;
    } files[] = {{"beat.mp3", {"-c:a", "libmp3lame", "-b:a", "192k"}},
                 {"beat.flac", {"-c:a", "flac"}}};
    for (const auto& file : files) {
        const QString path = folder + "/" + file.name;
        if (!QFile::exists(path) && !Encode(path, file.codec)) {
            std::fprintf(stderr, "ffmpeg failed on %s\n", qPrintable(path));
            return 1;
        }
        const std::string name = path.toStdString();
        double start = ThreadSeconds();
        const auto facts = sound::MeasureTrack(name);
        const double pass = ThreadSeconds() - start;
        if (!facts) return 1;

        int rate = 0;
        const std::vector<int16_t> samples = Decode(name, &rate);
        start = ThreadSeconds();
        sound::BeatTracker tracker(rate);
        tracker.Feed(samples.data(), static_cast<int64_t>(samples.size() / 2));
        const sound::TrackBeats beats = tracker.Finish();
        const double tracking = ThreadSeconds() - start;
        std::printf(
            "%-10s pass %.3f s, of which beats %.3f s: +%.0f%% over the pass without them"
            " (%.1f bpm, %zu beats)\n",
            file.name, pass, tracking, 100 * tracking / (pass - tracking), beats.tempo,
            beats.beatsMs.size());
    }
    return 0;
}
