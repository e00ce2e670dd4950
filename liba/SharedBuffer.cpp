#include "liba/SharedBuffer.h"

#include "liba/Atomic.h"

#include <algorithm>
#include <cstring>

namespace liba {

SharedBuffer::Block* SharedBuffer::new_block(std::size_t size)
{
    if (size == 0) {
        // Every empty buffer shares one block, so making one allocates
        // nothing; the count it starts with is never given back, so it is
        // never freed.
        static std::uint8_t no_bytes[1];
        static Block empty { { 1 }, no_bytes, 0 };
        atomic_increment(empty.count);
        return &empty;
    }
    return new Block { { 1 }, new std::uint8_t[size], size };
}

void SharedBuffer::release(Block* block)
{
    if (atomic_decrement(block->count) == 0) {
        delete[] block->bytes;
        delete block;
    }
}

SharedBuffer::SharedBuffer()
    : SharedBuffer(std::size_t(0))
{
}

SharedBuffer::SharedBuffer(std::size_t size)
    : m_block(new_block(size))
    , m_offset(0)
    , m_length(size)
{
}

SharedBuffer::SharedBuffer(std::size_t size, const void* bytes)
    : SharedBuffer(size)
{
    if (size > 0)
        std::memcpy(m_block->bytes, bytes, size);
}

SharedBuffer::SharedBuffer(const SharedBuffer& other)
    : m_block(other.m_block)
    , m_offset(other.m_offset)
    , m_length(other.m_length)
{
    atomic_increment(m_block->count);
}

SharedBuffer::SharedBuffer(const SharedBuffer& other, std::size_t offset, std::size_t length)
    : m_block(other.m_block)
{
    offset = std::min(offset, other.m_length);
    m_offset = other.m_offset + offset;
    m_length = std::min(length, other.m_length - offset);
    atomic_increment(m_block->count);
}

SharedBuffer::~SharedBuffer() { release(m_block); }

SharedBuffer& SharedBuffer::operator=(const SharedBuffer& other)
{
    atomic_increment(other.m_block->count);
    release(m_block);
    m_block = other.m_block;
    m_offset = other.m_offset;
    m_length = other.m_length;
    return *this;
}

std::uint8_t* SharedBuffer::make_unique()
{
    if (m_block->count.load(std::memory_order_acquire) != 1) {
        Block* copy = new_block(m_length);
        if (m_length > 0)
            std::memcpy(copy->bytes, m_block->bytes + m_offset, m_length);
        release(m_block);
        m_block = copy;
        m_offset = 0;
    }
    return m_block->bytes;
}

void SharedBuffer::fill(std::uint8_t value)
{
    // Detach first: it resets the offset, and '+' does not order its operands.
    std::uint8_t* bytes = make_unique();
    bytes += m_offset;
    if (m_length > 0)
        std::memset(bytes, value, m_length);
}

std::size_t SharedBuffer::copy_from(std::size_t position, const SharedBuffer& other)
{
    if (position > m_length)
        return 0;
    // Hold the source's block: detaching may drop the last other reference to it.
    const SharedBuffer source(other);
    std::uint8_t* bytes = make_unique();
    bytes += m_offset + position;
    const std::size_t count = std::min(source.m_length, m_length - position);
    if (count > 0)
        std::memmove(bytes, source.data(), count);
    return count;
}

}
