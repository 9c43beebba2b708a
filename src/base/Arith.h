// Integer helpers shared by every progress-scaled size in the program.
//
// All transition geometry goes through MulDiv so that the screen, the effect
// table and the video build agree on every pixel. The rounding words used in
// comments across the code base mean:
//   a div b   integer division truncating toward zero (C++ '/')
//   Trunc(x)  a floating-point value cut toward zero
//   Round(x)  to the nearest integer, halves to the even neighbour
#pragma once

#include <cmath>
#include <cstdint>

namespace base {

// a * b / c with a 64-bit intermediate product, rounded to the nearest
// integer with halves away from zero; -1 when c is 0.
constexpr int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
    if (c == 0) return -1;
    const int64_t product = static_cast<int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const uint64_t num =
        product < 0 ? static_cast<uint64_t>(-product) : static_cast<uint64_t>(product);
    const uint64_t den =
        c < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(c)) : static_cast<uint64_t>(c);
    const uint64_t quotient = (num + den / 2) / den;
    const int64_t result =
        negative ? -static_cast<int64_t>(quotient) : static_cast<int64_t>(quotient);
    // Results that do not fit 32 bits are an overflow, reported like a zero divisor.
    if (result > INT32_MAX || result < INT32_MIN) return -1;
    return static_cast<int32_t>(result);
}

// Cuts toward zero.
inline int64_t Trunc(double x) {
    return static_cast<int64_t>(x);
}

// Rounds halves to the even neighbour (the default IEEE rounding mode).
inline int64_t Round(double x) {
    return static_cast<int64_t>(std::nearbyint(x));
}

}  // namespace base
