#pragma once
// One number from the bits of the core's sine, cosine, arctangent and hypotenuse over a fixed
// set of arguments: the native test and the WebAssembly build compute it and must agree with
// the same pinned value, so every build steps a run and measures it alike.

#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "model/core_math.h"

namespace sp::testing {

// The arguments a run meets (β·t for the float clock at a few frequencies), then a spread
// over every binade from 2^-30 to 2^1000 of both signs.
inline std::uint64_t sine_checksum()
{
    std::uint64_t sum = 0xcbf29ce484222325;  // FNV-1a over the 64-bit words
    const auto mix = [&](double v) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        sum = (sum ^ bits) * 0x100000001b3;
    };
    for (const double beta : {0.5, 0.52, 1.0, 2.0, 3.7}) {
        const float h = static_cast<float>(6.283185307 / 50 / (beta > 1 ? beta : 1));
        float t = 0;
        for (int i = 0; i < 20000; ++i, t = static_cast<float>(static_cast<double>(t) + h)) {
            mix(sine(beta * t));
            mix(cosine(beta * t));
        }
    }
    std::uint64_t state = 1;
    for (int i = 0; i < 100000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const std::uint64_t mantissa = state >> 12;
        const std::uint64_t exponent = 1023 - 30 + (state >> 8) % 1030;
        const std::uint64_t bits = (state & 0x80) << 56 | exponent << 52 | mantissa;
        double x;
        std::memcpy(&x, &bits, sizeof x);
        mix(sine(x));
        mix(cosine(x));
        mix(arctan2(x, static_cast<double>(state >> 40) - 8388608.0));
        mix(hypotenuse(x, static_cast<double>(state >> 40) * 1e-3));
    }
    return sum;
}

}  // namespace sp::testing
