#include "base/Random.h"

#include <chrono>

namespace base {

namespace {
thread_local uint32_t g_state = 0;
}

uint32_t RandSeed() {
    return g_state;
}

void SetRandSeed(uint32_t seed) {
    g_state = seed;
}

uint32_t Random(uint32_t n) {
    g_state = g_state * 134775813u + 1u;
    return static_cast<uint32_t>((static_cast<uint64_t>(g_state) * n) >> 32);
}

void Randomize() {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    g_state = static_cast<uint32_t>(ticks);
}

}  // namespace base
