#include "skinner/graphics/RawPngDecoder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace skinner {

namespace {

struct Format {
    std::uint32_t color_type;
    std::uint32_t bit_depth;
    std::uint32_t bits_per_pixel;
};

constexpr Format formats[] = {
    { 0, 1, 1 },
    { 0, 8, 8 },
    { 2, 8, 24 },
    { 2, 16, 48 },
    { 3, 4, 4 },
    { 3, 8, 8 },
    { 4, 8, 16 },
    { 6, 8, 32 },
};

struct Pass {
    std::uint32_t column, row, column_step, row_step;
};

// Pass 0 stands for the whole image.
constexpr Pass passes[8] = {
    { 0, 0, 1, 1 },
    { 0, 0, 8, 8 },
    { 4, 0, 8, 8 },
    { 0, 4, 4, 8 },
    { 2, 0, 4, 4 },
    { 0, 2, 2, 4 },
    { 1, 0, 2, 2 },
    { 0, 1, 1, 2 },
};

std::uint8_t paeth(int left, int up, int upper_left)
{
    const int p = left + up - upper_left;
    const int to_left = std::abs(p - left), to_up = std::abs(p - up),
              to_upper_left = std::abs(p - upper_left);
    if (to_left <= to_up && to_left <= to_upper_left)
        return static_cast<std::uint8_t>(left);
    return static_cast<std::uint8_t>(to_up <= to_upper_left ? up : upper_left);
}

}

bool RawPngDecoder::begin()
{
    const Format* format = std::find_if(std::begin(formats), std::end(formats), [&](const Format& f) {
        return f.color_type == m_header.color_type && f.bit_depth == m_header.bit_depth;
    });
    if (format == std::end(formats) || m_header.compression != 0 || m_header.filter != 0
        || m_header.interlace > 1)
        return false;
    const std::uint64_t width = m_header.width, height = m_header.height;
    if (width == 0 || height == 0 || width > max_side || height > max_side || width * height > max_pixels)
        return false;
    m_bits_per_pixel = format->bits_per_pixel;
    m_bytes_per_pixel = std::max<std::uint32_t>(1, m_bits_per_pixel / 8);
    m_packed = format->bit_depth < 8;
    switch (format->color_type) {
    case 0:
        m_convert = &RawPngDecoder::convert_grey_8;
        break;
    case 2:
        m_convert = format->bit_depth == 8 ? &RawPngDecoder::convert_rgb_8 : &RawPngDecoder::convert_rgb_16;
        break;
    case 4:
        m_convert = &RawPngDecoder::convert_grey_alpha;
        break;
    case 6:
        m_convert = &RawPngDecoder::convert_rgba;
        break;
    default:
        m_convert = &RawPngDecoder::convert_palette_8; // 4-bit ones are packed
    }
    m_width = static_cast<std::int32_t>(width);
    m_height = static_cast<std::int32_t>(height);
    m_pixels.assign(static_cast<std::size_t>(width * height * 4), 0);
    return start_pass(m_header.interlace ? 1 : 0);
}

// Finds the next pass with pixels from the given one on; false when none is left.
bool RawPngDecoder::start_pass(int pass)
{
    for (; pass <= (m_header.interlace ? 7 : 0); ++pass) {
        const Pass& p = passes[pass];
        const std::uint32_t width = m_header.width, height = m_header.height;
        m_pass_width = width > p.column ? (width - p.column + p.column_step - 1) / p.column_step : 0;
        m_pass_height = height > p.row ? (height - p.row + p.row_step - 1) / p.row_step : 0;
        if (m_pass_width == 0 || m_pass_height == 0)
            continue;
        m_pass = pass;
        m_row = 0;
        m_row_bytes = (static_cast<std::size_t>(m_pass_width) * m_bits_per_pixel + 7) / 8;
        m_current.assign(m_row_bytes, 0);
        m_previous.assign(m_row_bytes, 0);
        m_byte = 0;
        m_awaiting_filter = true;
        return true;
    }
    return false;
}

bool RawPngDecoder::next_row()
{
    std::swap(m_current, m_previous);
    m_byte = 0;
    m_awaiting_filter = true;
    if (++m_row < m_pass_height)
        return true;
    return m_pass != 0 && start_pass(m_pass + 1);
}

int RawPngDecoder::put(std::uint8_t byte)
{
    if (m_awaiting_filter) {
        if (byte > 4)
            return 0;
        m_filter = byte;
        m_awaiting_filter = false;
        return 1;
    }
    m_current[m_byte++] = byte;
    if (m_byte < m_row_bytes)
        return 1;
    finish_row(m_row_bytes);
    return next_row() ? 1 : 0;
}

int RawPngDecoder::put(const std::uint8_t* bytes, std::size_t count)
{
    while (count > 0) {
        if (m_awaiting_filter) {
            if (put(*bytes) != 1)
                return 0;
            ++bytes;
            --count;
            continue;
        }
        // The rest of the row, or what of it came.
        const std::size_t take = std::min(count, m_row_bytes - m_byte);
        std::copy(bytes, bytes + take, m_current.begin() + static_cast<std::ptrdiff_t>(m_byte));
        m_byte += take;
        bytes += take;
        count -= take;
        if (m_byte == m_row_bytes) {
            finish_row(m_row_bytes);
            if (!next_row())
                return 0;
        }
    }
    return 1;
}

int RawPngDecoder::end()
{
    // A row that the data left unfinished keeps the pixels it completed.
    if (!m_awaiting_filter && m_byte > 0)
        finish_row(m_byte);
    return 1;
}

// Undoes the filter of the row's first count bytes and stores the pixels they complete.
void RawPngDecoder::finish_row(std::size_t count)
{
    unfilter(count);
    const Pass& p = passes[m_pass];
    const std::size_t y = p.row + m_row * p.row_step;
    std::uint8_t* row = &m_pixels[y * static_cast<std::size_t>(m_width) * 4];
    auto out = [&](std::size_t column) { return row + (p.column + column * p.column_step) * 4; };
    if (m_packed) {
        const std::uint32_t depth = m_header.bit_depth;
        const std::uint32_t per_byte = 8 / depth;
        const std::size_t columns = std::min<std::size_t>(count * per_byte, m_pass_width);
        for (std::size_t column = 0; column < columns; ++column) {
            const std::uint8_t byte = m_current[column / per_byte];
            const std::uint32_t shift = 8 - depth * static_cast<std::uint32_t>(column % per_byte + 1);
            store_sample((byte >> shift) & ((1u << depth) - 1), out(column));
        }
        return;
    }
    const std::size_t columns = count / m_bytes_per_pixel;
    // The common kinds without a call per pixel.
    if (m_convert == &RawPngDecoder::convert_rgb_8 && m_keys[0] == no_key) {
        convert_row_rgb_8(m_current.data(), columns, out(0), p.column_step);
        return;
    }
    if (m_convert == &RawPngDecoder::convert_rgba) {
        for (std::size_t column = 0; column < columns; ++column)
            std::memcpy(out(column), m_current.data() + column * 4, 4);
        return;
    }
    for (std::size_t column = 0; column < columns; ++column)
        (this->*m_convert)(m_current.data() + column * m_bytes_per_pixel, out(column));
}

// RGB without a transparent colour: every pixel opaque.
void RawPngDecoder::convert_row_rgb_8(
    const std::uint8_t* bytes, std::size_t columns, std::uint8_t* out, std::size_t step)
{
    for (std::size_t column = 0; column < columns; ++column) {
        const std::uint8_t* in = bytes + 3 * column;
        std::uint8_t* pixel = out + 4 * step * column;
        pixel[0] = in[0];
        pixel[1] = in[1];
        pixel[2] = in[2];
        pixel[3] = 255;
    }
}

void RawPngDecoder::unfilter(std::size_t count)
{
    std::uint8_t* current = m_current.data();
    const std::uint8_t* up = m_previous.data();
    const std::size_t left = m_bytes_per_pixel;
    switch (m_filter) {
    case 1:
        for (std::size_t i = left; i < count; ++i)
            current[i] = static_cast<std::uint8_t>(current[i] + current[i - left]);
        break;
    case 2:
        for (std::size_t i = 0; i < count; ++i)
            current[i] = static_cast<std::uint8_t>(current[i] + up[i]);
        break;
    case 3: {
        const std::size_t first = std::min(left, count);
        for (std::size_t i = 0; i < first; ++i)
            current[i] = static_cast<std::uint8_t>(current[i] + up[i] / 2);
        for (std::size_t i = first; i < count; ++i)
            current[i] = static_cast<std::uint8_t>(current[i] + (current[i - left] + up[i]) / 2);
        break;
    }
    case 4: {
        const std::size_t first = std::min(left, count);
        for (std::size_t i = 0; i < first; ++i)
            current[i] = static_cast<std::uint8_t>(current[i] + up[i]);
        for (std::size_t i = first; i < count; ++i)
            current[i] = static_cast<std::uint8_t>(current[i] + paeth(current[i - left], up[i], up[i - left]));
        break;
    }
    default:
        break;
    }
}

// A grey 1-bit sample or a palette index.
void RawPngDecoder::store_sample(std::uint32_t sample, std::uint8_t* out) const
{
    if (m_header.color_type == 0) {
        const std::uint8_t grey = sample ? 255 : 0;
        out[0] = out[1] = out[2] = grey;
        out[3] = sample == m_keys[0] ? 0 : 255;
        return;
    }
    if (sample >= m_palette.size())
        return;
    const PaletteEntry& entry = m_palette[sample];
    out[0] = entry.red;
    out[1] = entry.green;
    out[2] = entry.blue;
    out[3] = entry.alpha;
}

void RawPngDecoder::convert_palette_8(const std::uint8_t* bytes, std::uint8_t* out) const
{
    store_sample(bytes[0], out);
}

void RawPngDecoder::convert_grey_8(const std::uint8_t* bytes, std::uint8_t* out) const
{
    out[0] = out[1] = out[2] = bytes[0];
    out[3] = bytes[0] == m_keys[0] ? 0 : 255;
}

void RawPngDecoder::convert_rgb_8(const std::uint8_t* bytes, std::uint8_t* out) const
{
    out[0] = bytes[0];
    out[1] = bytes[1];
    out[2] = bytes[2];
    const bool key = bytes[0] == m_keys[0] && bytes[1] == m_keys[1] && bytes[2] == m_keys[2];
    out[3] = key ? 0 : 255;
}

void RawPngDecoder::convert_rgb_16(const std::uint8_t* bytes, std::uint8_t* out) const
{
    bool key = true;
    for (int i = 0; i < 3; ++i) {
        out[i] = bytes[2 * i];
        key = key && static_cast<std::uint32_t>(bytes[2 * i] << 8 | bytes[2 * i + 1]) == m_keys[i];
    }
    out[3] = key ? 0 : 255;
}

void RawPngDecoder::convert_grey_alpha(const std::uint8_t* bytes, std::uint8_t* out) const
{
    out[0] = out[1] = out[2] = bytes[0];
    out[3] = bytes[1];
}

void RawPngDecoder::convert_rgba(const std::uint8_t* bytes, std::uint8_t* out) const
{
    std::copy(bytes, bytes + 4, out);
}

void RawPngDecoder::copy_to_dib(std::uint8_t* destination) const
{
    for (std::size_t i = 0; i < m_pixels.size(); i += 4) {
        destination[i] = m_pixels[i + 2];
        destination[i + 1] = m_pixels[i + 1];
        destination[i + 2] = m_pixels[i];
        destination[i + 3] = m_pixels[i + 3];
    }
}

}
