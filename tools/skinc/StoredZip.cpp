#include "tools/skinc/StoredZip.h"

#include <array>

namespace skinc {

namespace {

std::uint32_t crc32(const std::vector<std::uint8_t>& data)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t {};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320 ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::uint8_t byte : data)
        crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFF;
}

void put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// What the local header and the directory entry share: version needed, no
// flags, stored, no time, the CRC, both sizes, the name's and the extra's length.
void put_member_fields(
    std::vector<std::uint8_t>& out, std::uint32_t crc, std::uint32_t size, std::uint32_t name_length)
{
    put(out, 10, 2);
    put(out, 0, 2);
    put(out, 0, 2);
    put(out, 0, 4);
    put(out, crc, 4);
    put(out, size, 4);
    put(out, size, 4);
    put(out, name_length, 2);
    put(out, 0, 2);
}

}

std::vector<std::uint8_t> stored_zip(const std::string& member_name, const std::vector<std::uint8_t>& data)
{
    const std::uint32_t crc = crc32(data);
    const auto size = static_cast<std::uint32_t>(data.size());
    const auto name_length = static_cast<std::uint32_t>(member_name.size());
    std::vector<std::uint8_t> out;
    put(out, 0x04034B50, 4);
    put_member_fields(out, crc, size, name_length);
    out.insert(out.end(), member_name.begin(), member_name.end());
    out.insert(out.end(), data.begin(), data.end());
    const auto directory = static_cast<std::uint32_t>(out.size());
    put(out, 0x02014B50, 4);
    put(out, 10, 2); // made by
    put_member_fields(out, crc, size, name_length);
    put(out, 0, 2); // comment
    put(out, 0, 2); // disk
    put(out, 0, 2); // internal attributes
    put(out, 0, 4); // external attributes
    put(out, 0, 4); // local header offset
    out.insert(out.end(), member_name.begin(), member_name.end());
    const auto directory_size = static_cast<std::uint32_t>(out.size()) - directory;
    put(out, 0x06054B50, 4);
    put(out, 0, 2);
    put(out, 0, 2);
    put(out, 1, 2);
    put(out, 1, 2);
    put(out, directory_size, 4);
    put(out, directory, 4);
    put(out, 0, 2);
    return out;
}

}
