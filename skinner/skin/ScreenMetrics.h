#pragma once

#include "skinner/graphics/Point.h"
#include "skinner/graphics/Size.h"

#include <cstdint>

namespace skinner {

// The part of the screen that forms may use.
struct WorkAreaRect {
    Point top_left;
    Size size;

    bool operator==(const WorkAreaRect&) const = default;
};

// The display's width and height.
Size get_screen_size();

// The height of the edition's bars (one at the top, one at the bottom) on a
// screen of that width, while full-screen mode is off.
std::int32_t edition_bar_height(std::int32_t screen_width);

// The work area: the screen less a bar at the top and one at the bottom (none
// in full-screen mode). On the Pocket PC edition, with use_input_panel, a
// raised input panel ends it at the top of the panel.
WorkAreaRect get_work_area(bool use_input_panel);

// The program-wide full-screen mode, off at start. Forms follow it through
// set_full_screen_mode, which also tells their windows to place themselves again.
bool is_full_screen_mode();
// Answers whether the mode changed.
bool store_full_screen_mode(bool);

}
