#pragma once

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

}
