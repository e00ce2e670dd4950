#pragma once

#include <cstdint>
#include <string>
#include <vector>

// PNG files and zlib streams laid out by hand, for what no encoder writes.
namespace test {

inline std::string big_endian(std::uint32_t value)
{
    return { static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
        static_cast<char>(value) };
}

// A chunk with a zero CRC: the decoder does not check it.
inline std::string png_chunk(const std::string& type, const std::string& data)
{
    return big_endian(static_cast<std::uint32_t>(data.size())) + type + data + std::string(4, '\0');
}

inline std::string png_header(
    std::uint32_t width, std::uint32_t height, int depth, int color_type, int interlace = 0)
{
    return png_chunk("IHDR",
        big_endian(width) + big_endian(height)
            + std::string { static_cast<char>(depth), static_cast<char>(color_type), 0, 0,
                static_cast<char>(interlace) });
}

inline const std::string png_signature = "\x89PNG\r\n\x1a\n";

// Deflate's bit order: values from their low bit, Huffman codes from their high bit.
class BitWriter {
public:
    void bits(std::uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i)
            bit((value >> i) & 1);
    }

    void code(std::uint32_t value, int length)
    {
        for (int i = length - 1; i >= 0; --i)
            bit((value >> i) & 1);
    }

    // The fixed literal/length code of a symbol.
    void fixed_symbol(int symbol)
    {
        if (symbol < 144)
            code(0x30 + symbol, 8);
        else if (symbol < 256)
            code(0x190 + symbol - 144, 9);
        else if (symbol < 280)
            code(symbol - 256, 7);
        else
            code(0xC0 + symbol - 280, 8);
    }

    std::string bytes() const { return m_bytes; }

private:
    void bit(int b)
    {
        if (m_count % 8 == 0)
            m_bytes += '\0';
        if (b)
            m_bytes.back() = static_cast<char>(m_bytes.back() | 1 << (m_count % 8));
        ++m_count;
    }

    std::string m_bytes;
    int m_count = 0;
};

// The usual zlib header: deflate, 32 KiB window, no dictionary.
inline const std::string zlib_header = "\x78\x9c";

}
