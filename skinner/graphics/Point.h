#pragma once

#include <algorithm>
#include <cstdint>

namespace skinner {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;

    bool operator==(const Point&) const = default;
};

// Each coordinate chosen separately.
constexpr Point component_max(Point a, Point b)
{
    return { std::max(a.x, b.x), std::max(a.y, b.y) };
}

constexpr Point component_min(Point a, Point b)
{
    return { std::min(a.x, b.x), std::min(a.y, b.y) };
}

}
