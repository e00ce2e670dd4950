#pragma once

#include <cstdint>

namespace platform {

// A colour as drawing calls take it: red | green << 8 | blue << 16.
using ColorRef = std::uint32_t;
// What get_pixel answers outside the clip or the bitmap.
inline constexpr ColorRef invalid_color = 0xFFFFFFFF;

constexpr ColorRef rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return ColorRef(red) | ColorRef(green) << 8 | ColorRef(blue) << 16;
}

// A bitmap pixel: 0x00RRGGBB; drawing leaves the top byte 0, pixel access
// may use it (for alpha).
using Pixel = std::uint32_t;

constexpr Pixel pixel_of(ColorRef c)
{
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

constexpr ColorRef color_of(Pixel p)
{
    return (p >> 16 & 0xFF) | (p & 0xFF00) | (p & 0xFF) << 16;
}

}
