#pragma once

#include "platform/ui/DeviceContext.h"

#include <cstdint>

namespace skinner {

// Copies parts of a picture onto a device context. Source coordinates are
// bitmap pixels. With a mask (white where the picture is opaque, black where
// it is transparent) every copy takes two steps, the mask OR-ed onto the
// destination and the picture AND-ed onto that, so that transparent parts
// leave the destination as it was; without one, one copy with the raster
// operation.
class BlitContext {
public:
    BlitContext(platform::DeviceContext& destination, const platform::DeviceContext& source,
        const platform::DeviceContext* mask, std::uint32_t rop);

    void blit(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, std::int32_t source_x,
        std::int32_t source_y);
    // Nothing when an extent is below 1.
    void stretch_blit(const platform::Rect& destination, const platform::Rect& source);
    // Repeats the cell from the top left, row by row within each column; the
    // last column and row are cut to what remains. Nothing when an extent or
    // the cell is below 1. Cells outside the destination's clip are skipped.
    void tile(const platform::Rect& destination, std::int32_t source_x, std::int32_t source_y,
        std::int32_t cell_width, std::int32_t cell_height);
    // The rectangle in the colour of the source pixel; nothing where the mask
    // pixel there is not white.
    void fill_from_pixel(const platform::Rect& destination, std::int32_t source_x, std::int32_t source_y);
    // A vertical line of the length from (x, y) down, the same way.
    void line_from_pixel(
        std::int32_t x, std::int32_t y, std::int32_t length, std::int32_t source_x, std::int32_t source_y);

private:
    bool masked_out(std::int32_t source_x, std::int32_t source_y) const;

    platform::DeviceContext& m_destination;
    const platform::DeviceContext& m_source;
    const platform::DeviceContext* m_mask;
    std::uint32_t m_rop;
};

// A copy of width x height at the factor: 1 copies, any other stretches to
// the extents times the factor (truncated).
void scale_blit(platform::DeviceContext& destination, double factor, const platform::DeviceContext& source,
    std::int32_t width, std::int32_t height, std::uint32_t rop);

}
