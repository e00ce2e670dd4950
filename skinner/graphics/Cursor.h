#pragma once

#include <cstdint>

namespace skinner {

// A standard pointer shape, by its platform identifier (32512 the arrow,
// 32513 the text beam, ...); 0 stands for the arrow.
struct Cursor {
    std::uint32_t id = 0;

    bool operator==(const Cursor&) const = default;
};

}
