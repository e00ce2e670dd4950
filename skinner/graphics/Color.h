#pragma once

#include "platform/ui/Color.h"

#include <cstdint>

namespace skinner {

// Four bytes in this order; drawing ignores the fourth.
struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t reserved = 0;

    bool operator==(const Color&) const = default;
};

// The colour as drawing calls take it.
constexpr platform::ColorRef color_ref(Color c)
{
    return platform::rgb(c.red, c.green, c.blue);
}

}
