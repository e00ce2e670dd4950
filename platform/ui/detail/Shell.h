#pragma once

// Hooks of the window manager and the input into the shell's pieces.

#include <cstdint>

namespace platform::detail {

// After the active window or its full-screen state changed (no lock held):
// menu bars show only while their window is in front.
void foreground_changed();
// A key pressed or released: true when a hot key or a menu bar's key
// override took it, so no key message goes out.
bool hot_key_input(std::uint32_t virtual_key, bool down);
// A key the foreground window's menu bar overrides; true when taken.
bool menu_bar_key(std::uint32_t virtual_key, bool down, std::uint32_t modifiers);

}
