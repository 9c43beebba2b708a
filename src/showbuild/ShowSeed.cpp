#include "showbuild/ShowSeed.h"

namespace video {

namespace {

// A 32-bit finaliser: neighbouring indexes give unrelated seeds, where the
// generator's first draws from close seeds would be close too.
uint32_t Mix(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

}  // namespace

uint32_t ShowSeed(const std::vector<std::string>& pictures) {
    // FNV-1a over the paths, each ended by a zero byte so "ab","c" differs
    // from "a","bc".
    uint32_t hash = 2166136261u;
    for (const std::string& path : pictures) {
        for (const char c : path) hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
        hash *= 16777619u;
    }
    return Mix(hash);
}

uint32_t PictureSeed(uint32_t showSeed, size_t index) {
    return Mix(showSeed ^ Mix(static_cast<uint32_t>(index) + 1));
}

}  // namespace video
