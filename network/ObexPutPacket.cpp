#include "network/ObexPutPacket.h"

#include <algorithm>

namespace network {

namespace {

void put16(std::uint8_t* p, std::size_t value)
{
    p[0] = std::uint8_t(value >> 8);
    p[1] = std::uint8_t(value);
}

}

ObexPutPacket::ObexPutPacket(std::u16string_view name, std::uint32_t file_size, std::uint16_t packet_size)
    : m_header_size(16 + 2 * name.size())
    , m_bytes(std::max<std::size_t>(packet_size, m_header_size))
{
    std::uint8_t* p = m_bytes.data();
    p[3] = 0x01;
    put16(p + 4, 5 + 2 * name.size());
    p += 6;
    for (char16_t c : name) {
        put16(p, c);
        p += 2;
    }
    put16(p, 0);
    p[2] = 0xC3;
    p[3] = std::uint8_t(file_size >> 24);
    p[4] = std::uint8_t(file_size >> 16);
    p[5] = std::uint8_t(file_size >> 8);
    p[6] = std::uint8_t(file_size);
}

std::size_t ObexPutPacket::capacity() const
{
    return m_bytes.size() - m_header_size;
}

std::span<const std::uint8_t> ObexPutPacket::finish(std::size_t data_size, bool last)
{
    const std::size_t length = m_header_size + data_size;
    m_bytes[0] = last ? 0x82 : 0x02;
    put16(m_bytes.data() + 1, length);
    m_bytes[m_header_size - 3] = last ? 0x49 : 0x48;
    put16(m_bytes.data() + m_header_size - 2, data_size + 3);
    return { m_bytes.data(), length };
}

}
