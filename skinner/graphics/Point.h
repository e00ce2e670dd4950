#pragma once

#include "platform/core/Geometry.h"

#include <algorithm>

namespace skinner {

// The window layer's point: values pass between the two without conversion.
using Point = platform::Point;

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
