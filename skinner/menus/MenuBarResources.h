#pragma once

#include <cstdint>

namespace platform {
class Resources;
}

namespace skinner {

// Resource numbers of the menu bars.
namespace menu_resources {
inline constexpr std::uint32_t images_16 = 115; // strip of 16 x 16 images
inline constexpr std::uint32_t images_32 = 125; // strip of 32 x 32 images, for 192 dpi
inline constexpr std::uint32_t first_bar = 117; // five bars of one button each
inline constexpr std::uint32_t first_soft_key_bar = 1117; // five bars of two soft keys each
inline constexpr std::uint32_t bar_count = 5;
inline constexpr std::uint32_t smartphone_bar = 18100; // the shell's two soft keys
inline constexpr std::int32_t smartphone_left_key = 18201;
inline constexpr std::int32_t smartphone_right_key = 18200;
}

// Adds what the menu managers need to the resources: the bar templates with
// their menus and strings, and the two image strips.
void add_menu_bar_resources(platform::Resources& resources);

}
