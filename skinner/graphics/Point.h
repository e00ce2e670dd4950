#pragma once

#include <cstdint>

namespace skinner {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;

    bool operator==(const Point&) const = default;
};

}
