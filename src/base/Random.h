// The pseudo-random generator of effects, motion and shuffles.
//
// One 32-bit linear congruential state per thread. Effects that must draw
// the same pattern on every frame of a transition save the state, seed it
// with the incoming picture's handle and restore it (see ScopedRandSeed).
// Each thread has its own state so that the build on the window's thread
// and the effect previews drawn on a thread of their own never draw from,
// or reseed, each other's sequence: a build must make the same choices
// whatever else runs.
#pragma once

#include <cstdint>

namespace base {

// Current generator state.
uint32_t RandSeed();
void SetRandSeed(uint32_t seed);

// state := state * 134775813 + 1; returns the high 32 bits of state * n,
// so 0 <= result < n, and 0 for n = 0.
uint32_t Random(uint32_t n);

// Re-seeds from the high-resolution clock (low 32 bits of its counter).
void Randomize();

// Saves the generator state, seeds it, and puts the saved state back when it
// leaves scope, also when an exception passes.
class ScopedRandSeed {
public:
    explicit ScopedRandSeed(uint32_t seed) : saved_(RandSeed()) { SetRandSeed(seed); }
    ~ScopedRandSeed() { SetRandSeed(saved_); }
    ScopedRandSeed(const ScopedRandSeed&) = delete;
    ScopedRandSeed& operator=(const ScopedRandSeed&) = delete;

private:
    uint32_t saved_;
};

}  // namespace base
