// What a frame of a moving picture costs to sample: a view of a detailed
// picture drawn into a DVD frame and into a 1080p one, at the ends of the
// range of sizes the build reduces pictures to (0.87 and 1.15 picture pixels
// per frame pixel) and at its own size.
//
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTO_BUILD_BENCH=ON
//   cmake --build build-bench --target bench_resample && build-bench/bin/bench_resample
#include <benchmark/benchmark.h>

#include "raster/Resample.h"

namespace {

void DrawView(benchmark::State& state, int width, int height, double scale) {
    // Large enough for the widest view, with detail in every byte.
    const int sourceWidth = static_cast<int>(width * 1.2) + 8;
    const int sourceHeight = static_cast<int>(height * 1.2) + 8;
    raster::Bitmap picture(sourceWidth, sourceHeight);
    for (int y = 0; y < sourceHeight; ++y) {
        uint8_t* row = picture.row(y);
        for (int x = 0; x < 3 * sourceWidth; ++x) row[x] = static_cast<uint8_t>(x * 7 ^ y * 13);
    }
    const raster::ViewSource source(picture);
    raster::Bitmap frame(width, height);
    double shift = 0;
    for (auto _ : state) {
        // A new position every frame, as in a zoom.
        shift = shift > 2 ? 0 : shift + 0.037;
        source.Draw(frame, {1.3 + shift, 2.1 + shift, width * scale, height * scale});
        benchmark::DoNotOptimize(frame.bits());
    }
    state.SetItemsProcessed(state.iterations() * int64_t{width} * height);
}

BENCHMARK_CAPTURE(DrawView, dvd_087, 720, 576, 0.87)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawView, dvd_115, 720, 576, 1.15)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawView, hd1080_087, 1920, 1080, 0.87)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawView, hd1080_100, 1920, 1080, 1.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawView, hd1080_115, 1920, 1080, 1.15)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
