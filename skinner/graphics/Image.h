#pragma once

#include "platform/ui/Bitmap.h"

#include <cstdint>
#include <memory>

namespace skinner {

// A loaded picture file at one skin scale: its colour bitmap and, when the
// file has a companion, a mask bitmap that is either a transparency mask
// (white where opaque, black where transparent) or an alpha companion (its
// blue channel is the opacity). Bitmap pixels are 0x00RRGGBB. Images are
// shared through the image cache; the bitmaps are drawn on the GUI thread.
class Image {
public:
    // No bitmaps: not valid.
    Image() = default;
    Image(std::unique_ptr<platform::Bitmap> color, std::unique_ptr<platform::Bitmap> mask, bool alpha,
        std::uint32_t scale);

    // The colour bitmap exists.
    bool is_valid() const { return m_color != nullptr; }

    // The colour bitmap's size: a ready-made scale variant's own, a plain
    // file's stretched by the scale; 0 x 0 when not valid.
    std::int32_t width() const { return m_color ? m_color->width() : 0; }

    std::int32_t height() const { return m_color ? m_color->height() : 0; }

    std::uint32_t scale() const { return m_scale; }

    platform::Bitmap* color() const { return m_color.get(); }

    // Null without a companion.
    platform::Bitmap* mask() const { return m_mask.get(); }

    // The mask is an alpha companion.
    bool has_alpha() const { return m_alpha; }

    // For a source point (-1 in an axis outside the picture): true outside,
    // false for an image without a mask, else true where the transparency
    // mask or the alpha companion is black (or beyond it).
    bool is_transparent(std::int32_t x, std::int32_t y) const;

private:
    std::unique_ptr<platform::Bitmap> m_color;
    std::unique_ptr<platform::Bitmap> m_mask;
    bool m_alpha = false;
    std::uint32_t m_scale = 1;
};

}
