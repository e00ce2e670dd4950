#pragma once

#include "skinner/graphics/GenericPngDecoder.h"

#include <cstdint>
#include <vector>

namespace skinner {

// Decodes a PNG file into a top-down image of 32-bit pixels: red, green,
// blue and alpha in memory order. Accepts grey (1 and 8 bits), RGB (8 and
// 16 bits, reduced to the high byte), palette (4 and 8 bits), grey with
// alpha and RGB with alpha (8 bits), interlaced or not. Other kinds, and
// images of more than max_pixels pixels or a side above max_side, give no
// image. Pixels that corrupt or missing data never reach stay 0.
class RawPngDecoder final : public GenericPngDecoder {
public:
    static constexpr std::uint32_t max_side = 16384;
    static constexpr std::uint64_t max_pixels = std::uint64_t { 1 } << 22;

    // 0 x 0 when no image was produced.
    std::int32_t width() const { return m_width; }

    std::int32_t height() const { return m_height; }

    const std::vector<std::uint8_t>& pixels() const { return m_pixels; }

    // Writes every pixel as blue, green, red, alpha: width x height x 4 bytes.
    void copy_to_dib(std::uint8_t* destination) const;

private:
    using Convert = void (RawPngDecoder::*)(const std::uint8_t* bytes, std::uint8_t* out) const;

    bool begin() override;
    int put(std::uint8_t byte) override;
    int put(const std::uint8_t* bytes, std::size_t count) override;
    int end() override;

    bool start_pass(int pass);
    bool next_row();
    void finish_row(std::size_t count);
    void unfilter(std::size_t count);
    void store_sample(std::uint32_t sample, std::uint8_t* out) const;

    static void convert_row_rgb_8(const std::uint8_t* bytes, std::size_t columns, std::uint8_t* out, std::size_t step);
    void convert_grey_8(const std::uint8_t* bytes, std::uint8_t* out) const;
    void convert_rgb_8(const std::uint8_t* bytes, std::uint8_t* out) const;
    void convert_rgb_16(const std::uint8_t* bytes, std::uint8_t* out) const;
    void convert_grey_alpha(const std::uint8_t* bytes, std::uint8_t* out) const;
    void convert_rgba(const std::uint8_t* bytes, std::uint8_t* out) const;
    void convert_palette_8(const std::uint8_t* bytes, std::uint8_t* out) const;

    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    std::vector<std::uint8_t> m_pixels;

    Convert m_convert = nullptr;
    std::uint32_t m_bits_per_pixel = 8;
    std::uint32_t m_bytes_per_pixel = 1; // for filtering: at least 1
    bool m_packed = false; // several pixels to a byte (grey 1-bit, palette 4-bit)

    int m_pass = 0; // 0 without interlacing, else 1 to 7
    std::uint32_t m_pass_width = 0;
    std::uint32_t m_pass_height = 0;
    std::uint32_t m_row = 0; // within the pass
    std::size_t m_row_bytes = 0;
    std::size_t m_byte = 0; // within the row
    bool m_awaiting_filter = true;
    std::uint8_t m_filter = 0;
    std::vector<std::uint8_t> m_current;
    std::vector<std::uint8_t> m_previous;
};

}
