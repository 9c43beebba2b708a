// What the blurred fill costs a build: composing a portrait photo (decoded at
// the size the build decodes it for the frame) over its blurred copy, on a
// DVD frame and on a 1080p one, against the plain colour background.
//
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTO_BUILD_BENCH=ON
//   cmake --build build-bench --target bench_blurred_fill && build-bench/bin/bench_blurred_fill
#include <benchmark/benchmark.h>

#include "showbuild/BlurredBackdrop.h"
#include "showbuild/PictureComposer.h"

namespace {

using video::BuildPicture;
using video::FrameFormat;

constexpr FrameFormat kDvd{2, "DVD", 720, 576, 4, 3, ".mpg"};
constexpr FrameFormat k1080p{2, "1080p", 1920, 1080, 16, 9, ".mp4"};

// A 3:4 portrait with detail everywhere, as large as the frame's height.
BuildPicture Portrait(int height) {
    const int width = height * 3 / 4;
    BuildPicture picture{raster::Bitmap(width, height), width, height, {}};
    for (int y = 0; y < height; ++y) {
        uint8_t* row = picture.bitmap.row(y);
        for (int x = 0; x < 3 * width; ++x) row[x] = static_cast<uint8_t>(x * 7 + y * 3);
    }
    return picture;
}

void Compose(benchmark::State& state, const FrameFormat& format, bool blurred) {
    const BuildPicture picture = Portrait(format.height);
    const raster::Bitmap colour = video::PrepareBackground({}, format);
    raster::Bitmap frame;
    for (auto _ : state) {
        const raster::Bitmap backdrop =
            blurred ? video::BlurredBackdrop(picture, 0, format) : colour;
        video::ComposePicture(frame, backdrop, picture.bitmap, picture.naturalWidth,
                              picture.naturalHeight, format);
        benchmark::DoNotOptimize(frame.bits());
    }
}

BENCHMARK_CAPTURE(Compose, dvd_colour, kDvd, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Compose, dvd_blurred, kDvd, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Compose, hd1080_colour, k1080p, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Compose, hd1080_blurred, k1080p, true)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
