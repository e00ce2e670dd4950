#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace skinner {

// Walks the chunks of a PNG file, keeps its header, palette and
// transparency, and inflates its image data, handing every byte of the
// filtered scanlines to put(). Chunk CRCs and the zlib checksum are not
// verified. A subclass turns the scanlines into pixels.
class GenericPngDecoder {
public:
    static constexpr std::uint32_t no_key = 0x7FFFFFFF;

    struct Header {
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        std::uint32_t bit_depth = 0;
        std::uint32_t color_type = 0;
        std::uint32_t compression = 0;
        std::uint32_t filter = 0;
        std::uint32_t interlace = 0;
    };

    struct PaletteEntry {
        std::uint8_t red = 0, green = 0, blue = 0, alpha = 255;
    };

    virtual ~GenericPngDecoder() = default;

    // -1 for a wrong signature or a palette chunk whose length is no
    // multiple of 3; 1 otherwise, also when the image is incomplete or was
    // refused (the subclass tells whether it produced one).
    int decode(const std::uint8_t* bytes, std::size_t count);

    const Header& header() const { return m_header; }

protected:
    // Checks the header and prepares for the scanlines; false stops the decode.
    virtual bool begin() = 0;
    // The next byte of the filtered scanlines: 1 to go on, 0 to stop.
    virtual int put(std::uint8_t byte) = 0;
    // The next bytes of the filtered scanlines, as put() takes them one by one.
    virtual int put(const std::uint8_t* bytes, std::size_t count);

    virtual int end() { return 1; }

    Header m_header;
    // Alpha comes from tRNS: one value per entry, the entries it leaves out opaque.
    std::vector<PaletteEntry> m_palette;
    // The transparent grey (first slot) or red, green and blue; no_key when unset.
    std::array<std::uint32_t, 3> m_keys { no_key, no_key, no_key };
    std::uint32_t m_gamma = 0;

private:
    class Sink;
    void read_transparency(const std::uint8_t* data, std::uint32_t length);
};

}
