#include "skinner/graphics/GenericPngDecoder.h"

#include "skinner/graphics/Inflater.h"

#include <algorithm>
#include <cstring>

namespace skinner {

namespace {

constexpr std::uint8_t signature[8] = { 137, 80, 78, 71, 13, 10, 26, 10 };

std::uint32_t big_endian_32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

std::uint32_t big_endian_16(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0] << 8 | p[1]);
}

bool is_type(const std::uint8_t* type, const char* name)
{
    return std::memcmp(type, name, 4) == 0;
}

enum ColorType : std::uint32_t { grey = 0, rgb = 2, palette = 3 };

}

class GenericPngDecoder::Sink final : public InflateSink {
public:
    explicit Sink(GenericPngDecoder& decoder)
        : m_decoder(decoder)
    {
    }

    bool write(const std::uint8_t* bytes, std::size_t count) override
    {
        return m_decoder.put(bytes, count) == 1;
    }

private:
    GenericPngDecoder& m_decoder;
};

int GenericPngDecoder::put(const std::uint8_t* bytes, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        if (put(bytes[i]) != 1)
            return 0;
    return 1;
}

void GenericPngDecoder::read_transparency(const std::uint8_t* data, std::uint32_t length)
{
    if (m_header.color_type == grey && length >= 2) {
        m_keys[0] = big_endian_16(data);
    } else if (m_header.color_type == rgb && length >= 6) {
        for (int i = 0; i < 3; ++i)
            m_keys[i] = big_endian_16(data + 2 * i);
    } else if (m_header.color_type == palette) {
        // One alpha per palette entry, as the format defines it.
        const std::size_t count = std::min<std::size_t>(length, m_palette.size());
        for (std::size_t i = 0; i < count; ++i)
            m_palette[i].alpha = data[i];
    }
}

int GenericPngDecoder::decode(const std::uint8_t* bytes, std::size_t count)
{
    if (count < sizeof signature || std::memcmp(bytes, signature, sizeof signature) != 0)
        return -1;
    std::vector<std::uint8_t> compressed;
    bool have_header = false;
    std::size_t at = sizeof signature;
    while (count - at >= 8) {
        const std::uint32_t length = big_endian_32(bytes + at);
        const std::uint8_t* type = bytes + at + 4;
        at += 8;
        if (length > count - at)
            break;
        const std::uint8_t* data = bytes + at;
        at += length;
        at += std::min<std::size_t>(4, count - at); // the CRC, not checked
        if (is_type(type, "IEND"))
            break;
        if (is_type(type, "IHDR") && length >= 13) {
            m_header = { big_endian_32(data), big_endian_32(data + 4), data[8], data[9], data[10], data[11],
                data[12] };
            have_header = true;
        } else if (is_type(type, "PLTE")) {
            if (length % 3 != 0)
                return -1;
            m_palette.assign(length / 3, PaletteEntry {});
            for (std::size_t i = 0; i < m_palette.size(); ++i)
                m_palette[i] = { data[3 * i], data[3 * i + 1], data[3 * i + 2], 255 };
        } else if (is_type(type, "IDAT")) {
            compressed.insert(compressed.end(), data, data + length);
        } else if (is_type(type, "gAMA") && length >= 4) {
            m_gamma = big_endian_32(data);
        } else if (is_type(type, "tRNS")) {
            read_transparency(data, length);
        }
    }
    if (!have_header || !begin())
        return 1;
    Sink sink(*this);
    Inflater().inflate(compressed, sink);
    end();
    return 1;
}

}
