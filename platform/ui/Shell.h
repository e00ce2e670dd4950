#pragma once

#include "platform/core/Message.h"
#include "platform/core/Geometry.h"

#include <cstdint>

// Small shell calls beside those of Screen.h (title bar OK button, full-screen
// mode, input panel preference). GUI thread only.
namespace platform {

// The kind of shell the device has, set by the program before its first
// window. A soft-key shell lays every menu bar out as two soft keys, the
// first button at the bar's left end and the second at its right end, and
// vk::soft_1 and vk::soft_2 press them. The Smartphone shell's bars are as
// high as that device's: 20 pixels on a screen 176 wide, 27 on 240, 40 on
// 352, 54 on 480, and none on other widths.
enum class ShellKind { pocket_pc, pocket_pc_soft_keys, smartphone };
void set_shell_kind(ShellKind);
ShellKind shell_kind();
bool has_soft_keys();

// The input panel's state flags (their platform numbers).
namespace sipf {
inline constexpr std::uint32_t on = 0x1;
inline constexpr std::uint32_t docked = 0x2;
inline constexpr std::uint32_t locked = 0x4;
}

struct InputPanelInfo {
    std::uint32_t flags = 0; // sipf bits
    Rect visible_desktop; // the screen less the title bar (while it shows) and the panel
    Rect input_area; // the panel's rectangle
};

// There is no on-screen keyboard: the panel is always lowered (no sipf::on)
// and its rectangle is empty.
InputPanelInfo input_panel_info();

// The shell's back navigation: the program leaves the screen for the one
// before; here the foreground window is deactivated (msg::activate inactive).
void navigate_back();

// Hands a Back key (a msg::hot_key with the key's lparam) to the window with
// the focus as Backspace: its press as msg::key_down (which the loop's
// translation follows with msg::character 8), its release (mod::key_up in the
// lparam) as msg::key_up. False when no window
// has the focus.
bool send_back_to_focus_window(MessageId, WParam, LParam);

// Posts the message to every top-level window of the program: the shell's
// broadcast. There is no Today screen, so its reload request (wparam
// today_reload) has no one else to reach.
inline constexpr WParam today_reload = 0xF2;
bool post_broadcast_message(MessageId, WParam, LParam);

}
