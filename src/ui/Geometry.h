#pragma once
// Plain rectangle arithmetic for layouts, in pixels.
#include <cstdint>

namespace nullvane::ui {

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    [[nodiscard]] int Right() const { return Left + Width; }
    [[nodiscard]] int Bottom() const { return Top + Height; }
    [[nodiscard]] bool Contains(TPoint p) const {
        return p.X >= Left && p.X < Right() && p.Y >= Top && p.Y < Bottom();
    }
    friend bool operator==(const TRect&, const TRect&) = default;
};

// A colour as the system stores it: 0x00BBGGRR.
using TColor = uint32_t;
[[nodiscard]] constexpr TColor Rgb(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}
inline constexpr TColor clBlack = Rgb(0, 0, 0);
inline constexpr TColor clWhite = Rgb(255, 255, 255);
inline constexpr TColor clRed = Rgb(192, 0, 0);
inline constexpr TColor clLink = Rgb(0, 70, 190);

}  // namespace nullvane::ui
