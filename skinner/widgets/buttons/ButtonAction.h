#pragma once

#include <cstdint>
#include <string_view>

namespace skinner {

// What the platform does with a button, from the skin's "Action".
enum class ButtonAction : std::int32_t {
    nothing = 0,
    caption = 1,
    border_left = 2,
    border_right = 3,
    border_bottom = 4,
    border_top = 5,
    corner_bottom_left = 6,
    corner_bottom_right = 7,
    corner_top_left = 8,
    corner_top_right = 9,
    button_close = 10,
    button_minimize = 11,
    button_maximize = 12,
    button_sysmenu = 13,
    button_ok = 14,
    button_cancel = 15,
    button_yes = 16,
    button_no_menu = 17,
};

// The skin's names ("NOTHING", "CAPTION", ... "BUTTON_NO_MENU"), matched
// exactly and case-sensitively. A match stores the action and gives true;
// any other text leaves it as it was and gives false.
bool parse_button_action(std::u16string_view name, ButtonAction& action);

}
