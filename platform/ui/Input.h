#pragma once

#include "platform/core/Message.h"
#include "platform/core/Geometry.h"

#include <string>
#include <string_view>

// Pen, keys and text. Displays feed their input in through the first group,
// on the GUI thread; it arrives as posted messages:
//   pen: msg::left_button_down / mouse_move / left_button_up (wparam 1 while
//     down; lparam the client point, x | y << 16, each a signed 16-bit value)
//     to the capture window, else to the deepest enabled visible window under
//     the pen (a press activates its top-level window). A second press within
//     500 ms and 4 pixels on a window whose class has cs::double_clicks comes
//     as msg::left_button_double_click.
//   keys: msg::key_down / key_up (wparam the virtual key, lparam 1, bit 30
//     when the key was down already) to the focus window, else the active one.
//   text: msg::ime_composition (lparam gcs_result_string) with the text as
//     input_method_result.
//   wheel: msg::mouse_wheel (wparam the turn << 16, wheel_delta a notch away
//     from the user; lparam the screen point) to the capture window, else the
//     enabled window under the pointer.
// A press on the title bar's OK button sends nothing to windows; its release
// there posts msg::command id_ok to the foreground window.
namespace platform {

// Virtual keys (their platform numbers); letters and digits are their
// upper-case ASCII codes.
namespace vk {
inline constexpr std::uint32_t back = 8;
inline constexpr std::uint32_t tab = 9;
inline constexpr std::uint32_t enter = 13;
inline constexpr std::uint32_t shift = 16;
inline constexpr std::uint32_t control = 17;
inline constexpr std::uint32_t menu = 18; // Alt
inline constexpr std::uint32_t escape = 27;
inline constexpr std::uint32_t space = 32;
inline constexpr std::uint32_t prior = 33; // page up
inline constexpr std::uint32_t next = 34; // page down
inline constexpr std::uint32_t end = 35;
inline constexpr std::uint32_t home = 36;
inline constexpr std::uint32_t left = 37;
inline constexpr std::uint32_t up = 38;
inline constexpr std::uint32_t right = 39;
inline constexpr std::uint32_t down = 40;
inline constexpr std::uint32_t insert = 45;
inline constexpr std::uint32_t del = 46;
inline constexpr std::uint32_t apps = 93;
inline constexpr std::uint32_t soft_1 = 0x70; // the left soft key (F1)
inline constexpr std::uint32_t soft_2 = 0x71; // the right soft key (F2)
inline constexpr std::uint32_t application_1 = 0xC1; // the hardware buttons, 0xC1 to 0xC6
inline constexpr std::uint32_t oem_1 = 0xBA; // ; :
inline constexpr std::uint32_t oem_plus = 0xBB;
inline constexpr std::uint32_t oem_comma = 0xBC;
inline constexpr std::uint32_t oem_minus = 0xBD;
inline constexpr std::uint32_t oem_period = 0xBE;
inline constexpr std::uint32_t oem_2 = 0xBF; // / ?
inline constexpr std::uint32_t oem_3 = 0xC0; // ` ~
inline constexpr std::uint32_t oem_4 = 0xDB; // [ {
inline constexpr std::uint32_t oem_5 = 0xDC; // \ |
inline constexpr std::uint32_t oem_6 = 0xDD; // ] }
inline constexpr std::uint32_t oem_7 = 0xDE; // ' "
}

inline constexpr LParam gcs_result_string = 0x800;
inline constexpr std::uint32_t gesture_context_menu = 1000;
inline constexpr std::uint32_t double_tap_ms = 500;
inline constexpr std::int32_t double_tap_distance = 4;
inline constexpr std::int32_t wheel_delta = 120;
inline constexpr std::uint32_t hold_ms = 500;
inline constexpr std::int32_t hold_distance = 5;

// The pen message's point.
inline LParam point_param(Point p)
{
    return LParam((std::uint32_t(std::uint16_t(p.x)) | std::uint32_t(std::uint16_t(p.y)) << 16));
}
inline Point point_of(LParam l)
{
    return { std::int16_t(std::uint16_t(l & 0xFFFF)), std::int16_t(std::uint16_t((l >> 16) & 0xFFFF)) };
}
// The wheel message's turn, in wheel_delta units per notch.
inline std::int32_t wheel_turn_of(WParam w)
{
    return std::int16_t(std::uint16_t((w >> 16) & 0xFFFF));
}

// Feeding input (screen coordinates).
void pen_down(Point);
void pen_move(Point);
void pen_up(Point);
// The second button: a press that tap-and-hold recognition takes as a hold at
// once; where nobody asks, it is an ordinary tap.
void hold_down(Point);
void hold_up(Point);
void key_down(std::uint32_t virtual_key);
void key_up(std::uint32_t virtual_key);
void text_input(std::u16string_view);
// The wheel turned by whole or partial notches (wheel_delta each; positive
// away from the user) with the pointer at the screen point.
void wheel(Point, std::int32_t turn);
// The desktop asks the program to end (its window closed, a termination
// signal): a pop-up menu being tracked is dismissed and msg::close is posted
// to the program's main window, the owner at the root of the foreground
// (else the active) window; without one, the quit message is posted.
void request_close();

// Posts msg::character (258) for a key_down message that makes a character
// (US layout; the control key makes control codes); false otherwise. The
// character comes before anything already queued.
bool translate_message(const Message&);
bool is_key_down(std::uint32_t virtual_key);
// The text of the composition message being handled (each message has one;
// reading it takes it).
std::u16string input_method_result(Window);

// Tap-and-hold recognition for a press at the client point: watches the pen
// for hold_ms; answers gesture_context_menu when it stays down within
// hold_distance pixels (the rest of that press is then swallowed), else 0 and
// the pen messages stay queued so the press goes on as a tap. Other messages
// are dispatched meanwhile.
std::uint32_t recognize_tap_and_hold(Window, Point client);

}
