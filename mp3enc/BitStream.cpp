#include "mp3enc/BitStream.h"

#include <cstring>

namespace mp3enc {

void BitStream::reset(BitWriter& writer)
{
    writer.byte_pos = -1;
    writer.free_bits = 0;
    writer.total_bits = 0;
    writer.write_index = writer.fill_index = 0;
    writer.ancillary_bit = 0;
    for (HeaderSlot& slot : writer.ring)
        slot.write_time = 0;
}

int32_t BitStream::pending_headers() const
{
    return (m_writer.fill_index - m_writer.write_index + header_ring_size) % header_ring_size;
}

bool BitStream::start_byte()
{
    BitWriter& w = m_writer;
    if (w.write_index != w.fill_index && w.ring[w.write_index].write_time == w.total_bits) {
        if (w.byte_pos + 1 + m_side_bytes > writer_buffer_bytes)
            return false;
        std::memcpy(&w.buffer[w.byte_pos + 1], w.ring[w.write_index].bytes, size_t(m_side_bytes));
        w.byte_pos += m_side_bytes;
        w.total_bits += 8 * m_side_bytes;
        w.write_index = (w.write_index + 1) % header_ring_size;
    }
    if (w.byte_pos + 1 >= writer_buffer_bytes)
        return false;
    w.buffer[++w.byte_pos] = 0;
    w.free_bits = 8;
    return true;
}

void BitStream::put_bits(uint32_t value, int32_t count)
{
    BitWriter& w = m_writer;
    while (count > 0) {
        if (w.free_bits == 0 && !start_byte())
            return;
        int32_t n = count < w.free_bits ? count : w.free_bits;
        uint32_t part = (value >> (count - n)) & ((1u << n) - 1);
        w.buffer[w.byte_pos] = uint8_t(w.buffer[w.byte_pos] | (part << (w.free_bits - n)));
        w.free_bits -= n;
        count -= n;
        w.total_bits += n;
    }
}

void BitStream::commit_header(int32_t frame_bits)
{
    BitWriter& w = m_writer;
    int32_t next = (w.fill_index + 1) % header_ring_size;
    w.ring[next].write_time = w.ring[w.fill_index].write_time + frame_bits;
    w.fill_index = next;
}

void BitStream::rebase_if_needed()
{
    BitWriter& w = m_writer;
    if (w.total_bits <= 1000000000)
        return;
    for (HeaderSlot& slot : w.ring)
        slot.write_time -= w.total_bits;
    w.total_bits = 0;
}

}
