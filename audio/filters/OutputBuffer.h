#pragma once

#include "liba/SharedBuffer.h"

#include <cstddef>
#include <cstdint>

namespace audio {

// The bytes a filter writes its output into, kept for the chunks to come: a
// block is written again only when no chunk handed out still holds it, so
// steady pulls allocate nothing. Two blocks take turns, for a puller that
// keeps one chunk while it asks for the next.
class OutputBuffer {
public:
    // `size` bytes to write, their contents left as they were, that no chunk
    // handed out reads.
    liba::SharedBuffer take(std::size_t size);

    // Where to write the bytes of a buffer that take handed out.
    static std::uint8_t* bytes(liba::SharedBuffer& buffer) { return buffer.data_in_place(); }

private:
    liba::SharedBuffer m_blocks[2];
};

}
