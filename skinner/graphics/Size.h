#pragma once

#include <cstdint>

namespace skinner {

struct Size {
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const Size&) const = default;
};

}
