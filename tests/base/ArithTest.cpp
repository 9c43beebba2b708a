// MulDiv, the shared random generator and the rounding words.
#include <gtest/gtest.h>

#include "base/Arith.h"
#include "base/Random.h"

namespace base {
namespace {

TEST(MulDiv, RoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(720, 50, 100), 360);
    EXPECT_EQ(MulDiv(5, 1, 2), 3);         // 2.5
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);       // -2.5
    EXPECT_EQ(MulDiv(3, 1, -2), -2);       // -1.5
    EXPECT_EQ(MulDiv(480, 33, 100), 158);  // 158.4
    EXPECT_EQ(MulDiv(7, 1, 2), 4);         // 3.5
    EXPECT_EQ(MulDiv(720, 1, 100), 7);     // 7.2
}

TEST(MulDiv, ZeroDivisorGivesMinusOne) {
    EXPECT_EQ(MulDiv(7, 1, 0), -1);
}

TEST(MulDiv, ProductUses64Bits) {
    EXPECT_EQ(MulDiv(2'000'000'000, 3, 4), 1'500'000'000);
    EXPECT_EQ(MulDiv(65536, 65536, 65536), 65536);
}

TEST(Random, FollowsTheLinearCongruentialSequence) {
    SetRandSeed(0);
    EXPECT_EQ(Random(100), 0u);  // state 1
    EXPECT_EQ(Random(100), 3u);  // state 134775814
    EXPECT_EQ(Random(1000), 861u);
    EXPECT_EQ(Random(7), 1u);
    EXPECT_EQ(Random(0), 0u);  // still advances the state
    EXPECT_EQ(Random(0xFFFFFFFFu), 2884733761u);
}

TEST(Random, SeededSequenceAndRange) {
    SetRandSeed(12345);
    const uint32_t expected[] = {277, 208, 57, 398, 456};
    for (uint32_t value : expected) EXPECT_EQ(Random(720), value);
    EXPECT_EQ(RandSeed(), 2721613530u);
    for (int i = 0; i < 1000; ++i) EXPECT_LT(Random(3), 3u);
}

TEST(Random, ScopedSeedRestoresTheState) {
    SetRandSeed(42);
    {
        ScopedRandSeed seeded(7);
        EXPECT_EQ(RandSeed(), 7u);
        Random(10);
    }
    EXPECT_EQ(RandSeed(), 42u);
    try {
        ScopedRandSeed seeded(9);
        throw 1;
    } catch (int) {
    }
    EXPECT_EQ(RandSeed(), 42u);
}

TEST(Rounding, HalvesToEvenAndTruncTowardZero) {
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(2.6), 3);
    EXPECT_EQ(Trunc(-2.7), -2);
    EXPECT_EQ(Trunc(2.7), 2);
}

}  // namespace
}  // namespace base
