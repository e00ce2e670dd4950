#include "audio/filters/OutputBuffer.h"

namespace audio {

liba::SharedBuffer OutputBuffer::take(std::size_t size)
{
    liba::SharedBuffer* spare = nullptr;
    for (liba::SharedBuffer& block : m_blocks) {
        // Held by no chunk, only here.
        bool unused = !block.is_shared();
        if (unused && block.size() >= size)
            return liba::SharedBuffer(block, 0, size);
        if (!spare && (unused || block.size() == 0))
            spare = &block;
    }
    // Too small, or both still held downstream: a block of its own for this
    // one (the held one stays with its chunk).
    if (!spare)
        spare = &m_blocks[0];
    // With room to grow: output sizes vary with the input's.
    *spare = liba::SharedBuffer(size + size / 2);
    return liba::SharedBuffer(*spare, 0, size);
}

}
