#pragma once

#include "skinner/graphics/Point.h"

#include <cstdint>

namespace skinner {

// What a click carries: the press's flags (1 for a double tap, 0 from a key
// or a command) and the point, in form coordinates.
struct ButtonClick {
    std::int32_t flags = 0;
    Point point {};
};

}
