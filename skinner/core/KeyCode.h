#pragma once

#include <cstdint>

namespace skinner {

// The framework's own key numbers; forms and controls see only these.
using KeyCode = std::int32_t;

namespace key {
inline constexpr KeyCode none = 0;
inline constexpr KeyCode shift = 1;
inline constexpr KeyCode control = 2;
inline constexpr KeyCode alt = 3;
inline constexpr KeyCode left = 4;
inline constexpr KeyCode right = 5;
inline constexpr KeyCode up = 6;
inline constexpr KeyCode down = 7;
inline constexpr KeyCode escape = 8;
inline constexpr KeyCode enter = 9;
inline constexpr KeyCode space = 10;
inline constexpr KeyCode back = 11;
inline constexpr KeyCode del = 12;
inline constexpr KeyCode insert = 13;
inline constexpr KeyCode home = 14;
inline constexpr KeyCode end = 15;
inline constexpr KeyCode page_down = 16;
inline constexpr KeyCode page_up = 17;
inline constexpr KeyCode tab = 18;
inline constexpr KeyCode apps = 19;
inline constexpr KeyCode letter_a = 20; // to 45 for "Z"
inline constexpr KeyCode digit_0 = 46; // to 55 for "9"
}

// The key code of a platform virtual key; key::none for keys the framework does not know.
KeyCode map_key(std::uint32_t virtual_key);

// Modifier state by number: 1 Shift, 2 Control, 3 Alt; false for any other.
bool is_key_down(std::int32_t which);

}
