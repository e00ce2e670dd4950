#pragma once

#include "platform/ui/Color.h"
#include "platform/core/Geometry.h"

#include <cstdint>

namespace platform {

class DeviceContext;
class Font;

// The plain system look of what the shell draws itself (menus, the menu bar,
// the date controls): white menus, a dark blue highlight like the title bar,
// Tahoma 9 pt. Sizes are given at 96 dpi and scaled with the screen's dpi.
namespace look {

inline constexpr ColorRef window = rgb(255, 255, 255);
inline constexpr ColorRef text = rgb(0, 0, 0);
inline constexpr ColorRef grey_text = rgb(128, 128, 128);
inline constexpr ColorRef frame = rgb(96, 96, 96);
inline constexpr ColorRef highlight = rgb(0, 40, 120);
inline constexpr ColorRef highlight_text = rgb(255, 255, 255);
inline constexpr ColorRef bar = rgb(210, 210, 210);
inline constexpr ColorRef bar_line = rgb(128, 128, 128);
inline constexpr ColorRef button_checked = rgb(180, 180, 180);

// A length at 96 dpi on the device screen.
std::int32_t scaled(std::int32_t pixels_at_96_dpi);
// Tahoma 9 pt (bold when asked) at the screen's dpi.
const Font& font(bool bold = false);
// Selects the font with transparent text of the colour.
void prepare_text(DeviceContext&, ColorRef color, bool bold = false);
// A one-pixel frame just inside the rectangle.
void frame_rect(DeviceContext&, const Rect&, ColorRef);
// Small filled triangles: pointing right, left, up or down, centred in the rectangle.
enum class Arrow { right, left, up, down };
void arrow(DeviceContext&, const Rect&, Arrow, ColorRef);
// A check mark centred in the rectangle.
void check_mark(DeviceContext&, const Rect&, ColorRef);

}

}
