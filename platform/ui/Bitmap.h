#pragma once

#include "platform/ui/Color.h"
#include "platform/core/Geometry.h"

#include <memory>
#include <span>
#include <vector>

namespace platform {

class DeviceContext;

// A 32-bit bitmap, rows top-down, one Pixel (0x00RRGGBB) each, no padding: it
// serves for compatible bitmaps and DIB sections alike. A bitmap can be
// selected into one memory device context at a time; destroying it while
// selected leaves that context with no bitmap (drawing does nothing).
class Bitmap {
public:
    // Largest side and pixel count a bitmap may have (about 64 MiB).
    static constexpr std::int32_t max_side = 16384;
    static constexpr std::int64_t max_pixels = 16 * 1024 * 1024;

    // Null for a side below 1 or sizes beyond the limits; pixels start at 0.
    static std::unique_ptr<Bitmap> create(std::int32_t width, std::int32_t height);
    static bool valid_size(std::int64_t width, std::int64_t height);

    ~Bitmap();
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    std::int32_t width() const { return m_width; }
    std::int32_t height() const { return m_height; }
    Size size() const { return { m_width, m_height }; }
    Rect bounds() const { return { 0, 0, m_width, m_height }; }

    // Direct pixel access, row after row (width pixels each).
    std::span<Pixel> pixels() { return m_pixels; }
    std::span<const Pixel> pixels() const { return m_pixels; }
    Pixel* row(std::int32_t y) { return m_pixels.data() + std::size_t(y) * std::size_t(m_width); }
    const Pixel* row(std::int32_t y) const { return m_pixels.data() + std::size_t(y) * std::size_t(m_width); }
    Pixel at(std::int32_t x, std::int32_t y) const { return row(y)[x]; }
    void fill(Pixel);

    // The memory context it is selected into, or null.
    DeviceContext* selected_into() const { return m_selected_into; }

private:
    friend class DeviceContext;
    Bitmap(std::int32_t width, std::int32_t height);

    std::int32_t m_width;
    std::int32_t m_height;
    std::vector<Pixel> m_pixels;
    DeviceContext* m_selected_into = nullptr;
};

}
