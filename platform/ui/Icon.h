#pragma once

#include "platform/ui/Bitmap.h"

#include <memory>
#include <span>
#include <string_view>

namespace platform {

class DeviceContext;

// A small picture with transparent parts: the colour image (black where
// transparent) and its mask (white where transparent, black where opaque).
class Icon {
public:
    // Each pixel of the colour that is transparent_key (0x00RRGGBB) becomes transparent.
    static std::unique_ptr<Icon> from_bitmap(const Bitmap&, const Rect& part, Pixel transparent_key);
    // A picture file's bytes (BMP, GIF or JPEG) scaled to the size; a GIF's
    // transparent colour, else the top-left pixel, is transparent. Null when
    // the bytes do not decode or the size is below 1.
    static std::unique_ptr<Icon> from_picture(std::span<const std::uint8_t>, Size);

    Size size() const { return m_image->size(); }

    const Bitmap& image() const { return *m_image; }

    const Bitmap& mask() const { return *m_mask; }

    // The disabled look: the same shape, its pixels in light greys of their brightness.
    std::unique_ptr<Icon> greyed() const;

private:
    Icon(std::unique_ptr<Bitmap> image, std::unique_ptr<Bitmap> mask);

    std::unique_ptr<Bitmap> m_image;
    std::unique_ptr<Bitmap> m_mask;
};

// Draws the icon at its size with its mask (the mask ANDed, the image ORed).
void draw_icon(DeviceContext&, Point, const Icon&);

// The side of a small icon: 16 pixels at 96 dpi, scaled with the screen's dpi.
std::int32_t small_icon_side();

// The shell's small icon for a file: the built-in icon of the shell's names
// (the application buttons "ApplicationButton1" to "ApplicationButton6",
// compared without case), the picture of a BMP, GIF or JPEG file, else the
// shell's plain document icon. Null for an empty path.
std::unique_ptr<Icon> small_file_icon(std::u16string_view path);

}
