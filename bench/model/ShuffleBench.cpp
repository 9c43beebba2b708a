// The shuffle a show in random order gets each time the settings are loaded,
// over picture lists of ten thousand to a million entries.
//
//   bench_model_shuffle
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "model/Settings.h"

int main() {
    for (const size_t count : {10'000u, 100'000u, 300'000u, 1'000'000u}) {
        std::vector<std::string> pictures;
        pictures.reserve(count);
        for (size_t i = 0; i < count; ++i)
            pictures.push_back("/home/user/Pictures/holiday/picture-" + std::to_string(i) + ".jpg");
        const auto start = std::chrono::steady_clock::now();
        model::ShuffleList(pictures);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        std::printf("%8zu pictures: %9.1f ms\n", count, took.count());
        std::fflush(stdout);
    }
    return 0;
}
