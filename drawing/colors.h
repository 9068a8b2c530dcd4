#pragma once
// The colours of every picture, written as the program has always written them: 24-bit
// 0xBBGGRR values, blue in the high byte and red in the low one.

#include <cstdint>

namespace sp::colors {

inline constexpr std::uint32_t kBlack = 0x000000;  // axes, spring, outlines, fore colour
inline constexpr std::uint32_t kWhite = 0xFFFFFF;  // background of every surface
inline constexpr std::uint32_t kGrid = 0x80FF80;   // light green grid lines
inline constexpr std::uint32_t kRed = 0x0000FF;    // equilibrium lines, curves, crank pin
inline constexpr std::uint32_t kBlue = 0xFF0000;   // initial-velocity segment
inline constexpr std::uint32_t kGrey = 0x808080;   // wheel, load and carriage fill
inline constexpr std::uint32_t kBrown = 0x004080;  // crank arm and connecting rod
inline constexpr std::uint32_t kKey = 0x00FF00;    // left out by the background copy; never drawn

// The same colour as an opaque pixel of an image (0xFFRRGGBB).
constexpr std::uint32_t to_rgb(std::uint32_t bgr)
{
    return 0xFF000000U | ((bgr & 0xFFU) << 16) | (bgr & 0xFF00U) | ((bgr >> 16) & 0xFFU);
}

}  // namespace sp::colors
