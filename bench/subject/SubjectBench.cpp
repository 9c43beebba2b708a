// How long finding a picture's subject takes on one core: the search of a
// picture of about a megapixel (faces, and the salient region when there is
// none), and the whole detection of a 12-megapixel JPEG from its file.
//
//   cmake -S . -B build-bench -G Ninja -DVANTO_BUILD_BENCH=ON
//   cmake --build build-bench --target bench_subject && build-bench/bin/bench_subject
//
// The pictures are made first from scikit-image's public-domain photographs
// (python3-skimage): the astronaut's portrait, and the rocket for a picture
// without a face, each enlarged in its own proportions to the size measured.
#include <benchmark/benchmark.h>

#include <QImage>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "imaging/PictureLoader.h"
#include "subject/FindSubject.h"

namespace {

const std::string kPhotos = "/usr/lib/python3/dist-packages/skimage/data/";
std::string g_folder;

// The photograph enlarged to about 'pixels' in its own proportions: a
// stretched face is no face to the detector.
std::string Enlarged(const std::string& name, double pixels) {
    const std::string out =
        g_folder + "/" + name + "-" + std::to_string(static_cast<int>(pixels)) + ".jpg";
    const QImage photo(QString::fromStdString(kPhotos + name));
    if (photo.isNull()) {
        std::fprintf(stderr, "%s%s is missing: install python3-skimage\n", kPhotos.c_str(),
                     name.c_str());
        std::exit(1);
    }
    const double scale = std::sqrt(pixels / (double(photo.width()) * photo.height()));
    photo
        .scaled(int(photo.width() * scale), int(photo.height() * scale), Qt::IgnoreAspectRatio,
                Qt::SmoothTransformation)
        .save(QString::fromStdString(out), "jpeg", 90);
    return out;
}

void SearchMegapixel(benchmark::State& state, const char* name) {
    const raster::Bitmap picture = imaging::LoadPictureShrunk(Enlarged(name, 1e6), 2000, 2000, 0);
    size_t faces = 0;
    for (auto _ : state) faces = subject::FindSubject(picture).faces.size();
    state.counters["faces"] = static_cast<double>(faces);
}

void DetectFromFile(benchmark::State& state, const char* name) {
    const std::string path = Enlarged(name, 12e6);
    for (auto _ : state) {
        const auto found = subject::DetectSubject(path);
        benchmark::DoNotOptimize(found.ok());
    }
}

}  // namespace

int main(int argc, char** argv) {
    const auto dir = std::filesystem::temp_directory_path() / "vanto-bench-subject";
    std::filesystem::create_directories(dir);
    g_folder = dir.string();
    benchmark::RegisterBenchmark("search_1MP/portrait", SearchMegapixel, "astronaut.png")
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("search_1MP/no_face", SearchMegapixel, "rocket.jpg")
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("detect_12MP_jpeg/portrait", DetectFromFile, "astronaut.png")
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("detect_12MP_jpeg/no_face", DetectFromFile, "rocket.jpg")
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
