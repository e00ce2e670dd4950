#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace liba {

// A handle on a range of bytes inside a reference-counted block. Copies and
// sub-ranges share the block; a writer detaches first (make_unique).
class SharedBuffer {
public:
    SharedBuffer();
    // Contents not initialised.
    explicit SharedBuffer(std::size_t size);
    SharedBuffer(std::size_t size, const void* bytes);
    SharedBuffer(const SharedBuffer& other);
    // A range inside the other's range; clamped to it.
    SharedBuffer(const SharedBuffer& other, std::size_t offset, std::size_t length);
    ~SharedBuffer();
    SharedBuffer& operator=(const SharedBuffer& other);

    // Detaches when the block is shared. Returns the block's first byte: the
    // range begins offset() bytes from there (0 after a detach).
    std::uint8_t* make_unique();
    void fill(std::uint8_t value);
    // Copies as much of the other's range as fits from position on; returns
    // the count copied (0 when position lies beyond this range).
    std::size_t copy_from(std::size_t position, const SharedBuffer& other);

    // The range's bytes, for reading.
    const std::uint8_t* data() const { return m_block->bytes + m_offset; }
    // The range's bytes for writing without detaching: only for the owner of
    // a block who knows that no other holder reads this range meanwhile.
    std::uint8_t* data_in_place() { return m_block->bytes + m_offset; }
    std::size_t size() const { return m_length; }
    std::size_t offset() const { return m_offset; }

    // The one block of every empty buffer has no bytes to share.
    bool is_shared() const
    {
        return m_block->size > 0 && m_block->count.load(std::memory_order_acquire) != 1;
    }

private:
    struct Block {
        std::atomic<std::int32_t> count;
        std::uint8_t* bytes;
        std::size_t size;
    };
    static Block* new_block(std::size_t size);
    static void release(Block* block);

    Block* m_block;
    std::size_t m_offset;
    std::size_t m_length;
};

}
