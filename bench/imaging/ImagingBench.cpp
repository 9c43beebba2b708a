// How long a large photo takes to reach its place on a 720 x 576 video frame:
// a full-size decode followed by the area reduction, against the DCT-scaled
// decode followed by the same reduction.
//
//   cmake -S . -B build -G Ninja -DVANTO_BUILD_BENCH=ON
//   cmake --build build --target bench_imaging && build/bin/bench_imaging
//
// The 24-megapixel test photo (6000 x 4000, quality 90) is generated first.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "imaging/DecoderRegistry.h"
#include "imaging/FitArithmetic.h"
#include "imaging/PictureLoader.h"
#include "imaging/TestPictures.h"
#include "raster/Blit.h"

namespace {

using imaging::Size;

const Size kFrame{720, 576};
std::string g_photo;

// Decode and fit, as the video build does with every picture.
void FitToFrame(benchmark::State& state, bool scaled) {
    for (auto _ : state) {
        const imaging::SourcePicture picture = scaled ? imaging::LoadSourcePicture(g_photo, kFrame)
                                                      : imaging::LoadSourcePicture(g_photo);
        const Size fit = imaging::FitInsideFrame(picture.natural, kFrame);
        raster::Bitmap frame(kFrame.width, kFrame.height);
        raster::StretchDraw(
            frame,
            raster::Rect{(kFrame.width - fit.width) / 2, (kFrame.height - fit.height) / 2,
                         (kFrame.width + fit.width) / 2, (kFrame.height + fit.height) / 2},
            picture.bitmap, raster::StretchMode::Halftone);
        benchmark::DoNotOptimize(frame.bits());
    }
}

void DecodeOnly(benchmark::State& state, bool scaled) {
    imaging::DecodeRequest request;
    if (scaled)
        request.reduceTo = [](Size natural) {
            return std::optional(imaging::FitInsideFrame(natural, kFrame));
        };
    for (auto _ : state) {
        const imaging::DecodedImage image = imaging::DecodePictureFile(g_photo, request);
        benchmark::DoNotOptimize(image.pixels.bits());
    }
}

}  // namespace

int main(int argc, char** argv) {
    const auto dir = std::filesystem::temp_directory_path() / "vanto-bench-imaging";
    std::filesystem::create_directories(dir);
    g_photo = (dir / "photo24mp.jpg").string();
    {
        const auto bytes =
            imaging::testing::EncodeJpeg(imaging::testing::PhotoLike(6000, 4000, 11));
        std::ofstream(g_photo, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        std::printf("Test photo: 6000 x 4000, %.1f MB JPEG\n",
                    static_cast<double>(bytes.size()) / 1e6);
    }

    // Medians over repeated runs; the machine is shared, single runs vary.
    for (auto* b : {benchmark::RegisterBenchmark("FitTo720x576/full", FitToFrame, false),
                    benchmark::RegisterBenchmark("FitTo720x576/scaled", FitToFrame, true),
                    benchmark::RegisterBenchmark("DecodeOnly/full", DecodeOnly, false),
                    benchmark::RegisterBenchmark("DecodeOnly/scaled", DecodeOnly, true)})
        b->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(9)->ReportAggregatesOnly(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(dir);
    return 0;
}
