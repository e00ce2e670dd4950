#pragma once

#include <cstdint>
#include <span>

namespace skinner {

// The menu bar's image strip as a PNG file: images of 16 x 16 pixels, or of
// 32 x 32 for an image size of 32, magenta where transparent. Their order:
// the five play modes, record menu, record over, insert, append, folders
// shown, folders hidden, cut, copy, paste, move up, move down, delete.
std::span<const std::uint8_t> menu_bar_png(int image_size);

}
