// How closely the preview player's pictures follow the music it plays. The
// music goes through SDL's disk driver into a pipe, which stands in for a
// sound card: the driver writes a block and then waits as long as the block
// lasts, so a block starts sounding when it is written. A reader timestamps
// every block, which gives the sample heard at any moment. Meanwhile the
// player's clock (PlayerTimeline, fed the music's PlayedMs as the window
// feeds it) is looked at every millisecond; the figures are the music
// clock's and the picture's distance from the sound heard.
//
//   cmake -S . -B build -G Ninja -DVANTO_BUILD_BENCH=ON
//   cmake --build build --target bench_music_sync && build/bin/bench_music_sync [seconds]
//
// What a real card's driver adds after SDL's own block is not seen here.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/PlayerTimeline.h"
#include "music/MixPlayer.h"

namespace {

constexpr int kRate = 44100, kChannels = 2, kFrameBytes = kChannels * 2;
constexpr double kVideoRate = 25;

double Now() {
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

// A tone that sounds from its first sample, so the stream's leading silence
// (the card's own, before the first block came) is told from the music.
std::string WriteTone(const std::string& path, double seconds) {
    const auto samples = static_cast<uint32_t>(seconds * kRate);
    const uint32_t bytes = samples * kFrameBytes;
    std::ofstream out(path, std::ios::binary);
    auto put32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto put16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    put32(36 + bytes);
    out.write("WAVEfmt ", 8);
    put32(16);
    put16(1);
    put16(kChannels);
    put32(kRate);
    put32(kRate * kFrameBytes);
    put16(kFrameBytes);
    put16(16);
    out.write("data", 4);
    put32(bytes);
    for (uint32_t i = 0; i < samples; ++i) {
        const auto v = static_cast<int16_t>(8000 * std::cos(2 * M_PI * 440 * i / kRate));
        put16(static_cast<uint16_t>(v));
        put16(static_cast<uint16_t>(v));
    }
    return path;
}

// What came through the pipe: each read's time and the bytes up to its end,
// and where the music starts in the stream.
struct Stream {
    std::mutex mutex;
    std::vector<std::pair<double, int64_t>> reads;
    int64_t musicStart = -1;
    int64_t total = 0;

    // The music's sample heard at 'now', in seconds; negative before it.
    double HeardAt(double now) {
        std::lock_guard lock(mutex);
        if (musicStart < 0) return -1;
        auto after = std::upper_bound(reads.begin(), reads.end(), std::make_pair(now, INT64_MAX));
        if (after == reads.begin()) return -1;
        const auto& [time, end] = *std::prev(after);
        const int64_t begin = after - 1 == reads.begin() ? 0 : std::prev(after, 2)->second;
        // The block read last started sounding when it came and lasts its length.
        const double into = std::min(now - time, double(end - begin) / kFrameBytes / kRate);
        return double(begin - musicStart) / kFrameBytes / kRate + into;
    }
};

void ReadPipe(const std::string& pipe, Stream& stream) {
    const int fd = open(pipe.c_str(), O_RDONLY);
    if (fd < 0) return;
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t got = read(fd, buffer.data(), buffer.size());
        if (got <= 0) break;
        const double time = Now();
        std::lock_guard lock(stream.mutex);
        if (stream.musicStart < 0)
            for (ssize_t i = 0; i + 1 < got; i += 2)
                if (buffer[i] != 0 || buffer[i + 1] != 0) {
                    stream.musicStart = stream.total + i / kFrameBytes * kFrameBytes;
                    break;
                }
        stream.total += got;
        stream.reads.emplace_back(time, stream.total);
    }
    close(fd);
}

struct Spread {
    std::vector<double> values;
    double Mean() const {
        double sum = 0;
        for (double v : values) sum += v;
        return values.empty() ? 0 : sum / values.size();
    }
    double Percentile(double p) {
        if (values.empty()) return 0;
        std::sort(values.begin(), values.end());
        return values[std::min(values.size() - 1, size_t(p * values.size()))];
    }
};

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 20;
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const std::string tone = WriteTone(folder + "/tone.wav", seconds + 5);
    const std::string pipe = folder + "/card";
    if (mkfifo(pipe.c_str(), 0600) != 0) return 1;
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", pipe.c_str(), 1);

    Stream stream;
    std::thread reader([&] { ReadPipe(pipe, stream); });
    Spread musicClock, picture;
    {
        music::MixPlayer player({tone}, music::ShowMix{}, 0);
        if (!player.Output()) {
            std::fprintf(stderr, "%s\n", player.Output().message().c_str());
            return 1;
        }
        app::PlayerTimeline timeline(static_cast<int64_t>((seconds + 5) * kVideoRate), kVideoRate,
                                     {0});
        timeline.Play(Now());
        const double start = Now();
        while (Now() - start < seconds) {
            const double now = Now();
            const double played = player.PlayedMs() / 1000.0;
            const int64_t frame = timeline.Advance(now, played);
            const double heard = stream.HeardAt(now);
            // The first second settles the card and the clock.
            if (heard > 1) {
                musicClock.values.push_back((played - heard) * 1000);
                // The frame on screen covers [frame, frame + 1) / rate: its
                // distance from the sound is how far 'heard' lies outside.
                const double from = frame / kVideoRate, to = (frame + 1) / kVideoRate;
                picture.values.push_back(heard < from ? (from - heard) * 1000
                                         : heard > to ? (heard - to) * 1000
                                                      : 0.0);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    reader.join();
    char load[64] = "?";
    if (FILE* file = std::fopen("/proc/loadavg", "r")) {
        if (!std::fgets(load, sizeof load, file)) load[0] = 0;
        std::fclose(file);
    }
    std::printf("%.0f s of music through SDL's disk driver, %zu looks\n", seconds,
                musicClock.values.size());
    std::printf("music clock minus sound heard: mean %+.1f ms, 5%% %+.1f ms, 95%% %+.1f ms\n",
                musicClock.Mean(), musicClock.Percentile(0.05), musicClock.Percentile(0.95));
    std::printf(
        "picture on screen outside the sound heard: median %.1f ms, 95%% %.1f ms, "
        "max %.1f ms\nload %s",
        picture.Percentile(0.5), picture.Percentile(0.95), picture.Percentile(1.0), load);
    return 0;
}
