#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace network {

// One PUT packet of a file, rebuilt for every chunk: the Name and Length
// headers, then a Body (End-of-Body in the last packet) with the chunk.
class ObexPutPacket {
public:
    ObexPutPacket(std::u16string_view name, std::uint32_t file_size, std::uint16_t packet_size);

    // The headers before the data: 16 + 2 x the name's length.
    std::size_t header_size() const { return m_header_size; }

    // How many data bytes fit; 0 when not even the headers do.
    std::size_t capacity() const;

    // Where the chunk goes: capacity() bytes.
    std::uint8_t* data() { return m_bytes.data() + m_header_size; }

    // The whole packet for a chunk of the given size.
    std::span<const std::uint8_t> finish(std::size_t data_size, bool last);

private:
    std::size_t m_header_size;
    std::vector<std::uint8_t> m_bytes;
};

}
