// What a random seek costs a player that draws every frame as the video
// holds it: the time FrameRenderer takes for the frame at 50 random times of
// a 1080p show (eight 3000 x 2000 photos with captions, the blurred fill and
// random pan and zoom), one renderer for all, as a player keeps it: keeping
// the fewest pictures, keeping what its memory budget allows (the whole
// show here, once seen), and with every picture started ahead.
//
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTO_BUILD_BENCH=ON
//   cmake --build build-bench --target bench_frame_seek && build-bench/bin/bench_frame_seek
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench/BenchShow.h"
#include "model/Show.h"
#include "showbuild/FrameRenderer.h"
#include "showbuild/ShowPreparation.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QTemporaryDir dir;
    const model::Show show = MakeBenchShow(dir, 8);
    video::PreparedShow prepared = video::PrepareShow(show, video::ShowLoaders{});
    if (prepared.outcome != video::PreparedShow::Outcome::Ready) {
        std::fprintf(stderr, "%s\n", prepared.message.c_str());
        return 1;
    }
    std::string load;
    std::getline(std::ifstream("/proc/loadavg"), load);
    std::printf("load average %s\n", load.c_str());
    enum class Keep { Fewest, Budget, StartedAhead };
    for (const Keep keep : {Keep::Fewest, Keep::Budget, Keep::StartedAhead}) {
        video::FrameRenderer renderer(prepared);
        if (keep == Keep::Fewest) renderer.SetMemoryBudget(0);
        if (keep == Keep::StartedAhead)
            for (size_t i = 0; i < renderer.pictureStarts().size(); ++i)
                if (const base::Status started = renderer.Prefetch(i); !started)
                    return std::fprintf(stderr, "%s\n", started.message().c_str()), 1;
        const double length = static_cast<double>(renderer.frameCount()) / renderer.frameRate();
        std::mt19937 random(1);
        std::uniform_real_distribution<double> at(0, length);
        std::vector<double> ms;
        for (int i = 0; i < 50; ++i) {
            const double seconds = at(random);
            const auto start = std::chrono::steady_clock::now();
            const auto frame = renderer.FrameAtSeconds(seconds);
            ms.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
            if (!frame) return std::fprintf(stderr, "%s\n", frame.message().c_str()), 1;
        }
        std::sort(ms.begin(), ms.end());
        const char* const kept[] = {"three pictures kept", "memory budget",
                                    "every picture started ahead"};
        std::printf(
            "random seek, 1080p, %.0f s show, 50 seeks, %s: median %.1f ms, 95th percentile "
            "%.1f ms, slowest %.1f ms\n",
            length, kept[static_cast<int>(keep)], ms[ms.size() / 2], ms[ms.size() * 95 / 100],
            ms.back());
    }
    return 0;
}
