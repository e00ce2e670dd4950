#pragma once

#include "liba/SharedBuffer.h"

#include <cstddef>
#include <cstdint>

namespace audio {

// The part every chunk type shares: a slice of a shared buffer. Copies share
// the bytes; a writer detaches with buffer.make_unique() first.
struct DataBlock {
    liba::SharedBuffer buffer;

    std::size_t size() const { return buffer.size(); }

    bool is_empty() const { return buffer.size() == 0; }

    const std::uint8_t* bytes() const { return buffer.data(); }
};

}
