#pragma once

#include <cstdint>
#include <vector>

namespace skinner {

// A decoded picture file: its pixels as red, green, blue and alpha bytes,
// rows top to bottom, and the skin scale it was loaded for. Turning it into
// bitmaps for drawing is the canvas's business.
class Image {
public:
    Image() = default;
    Image(std::int32_t width, std::int32_t height, std::uint32_t scale, std::vector<std::uint8_t> pixels);

    // Something was decoded.
    bool is_valid() const { return m_width > 0 && m_height > 0; }

    std::int32_t width() const { return m_width; }

    std::int32_t height() const { return m_height; }

    std::uint32_t scale() const { return m_scale; }

    const std::vector<std::uint8_t>& pixels() const { return m_pixels; }

private:
    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    std::uint32_t m_scale = 1;
    std::vector<std::uint8_t> m_pixels;
};

}
