#pragma once

#include "platform/core/Message.h"

#include <cstdint>
#include <string_view>

// The shell's single-line edit box, the system class "EDIT" (a child window;
// the class name compares without case, so "edit" makes one too). Its text is
// the window's text. Typed characters replace the selection at the caret,
// Backspace and Delete delete, Left, Right, Home and End move the caret (with
// Shift they extend the selection), a tap puts the caret there and takes the
// focus. A change of the text that the user made tells the parent with
// msg::command (wparam en::change << 16, lparam the edit window). A read-only
// box moves its caret but changes nothing. The text scrolls to keep the caret
// in view. ws::border draws a frame. GUI thread only.
namespace platform {

inline constexpr char16_t edit_class[] = u"EDIT";

// Edit styles (their platform numbers).
namespace es {
inline constexpr std::uint32_t auto_hscroll = 0x0080;
inline constexpr std::uint32_t read_only = 0x0800;
}

// Edit messages.
namespace em {
inline constexpr MessageId get_sel = 0xB0; // start | end << 16
inline constexpr MessageId set_sel = 0xB1; // start, end; start -1 selects nothing, end -1 runs to the end
inline constexpr MessageId set_read_only = 0xCF; // flag
inline constexpr MessageId set_input_mode = 0xDE; // 0, mode: true
inline constexpr MessageId get_input_mode = 0xDD; // the mode
}

// Input modes: how the device's keypad types (its keys are the desktop's here).
namespace im {
inline constexpr std::uint32_t spell = 0;
inline constexpr std::uint32_t amb = 1;
inline constexpr std::uint32_t numbers = 2;
inline constexpr std::uint32_t text = 3;
}

// Edit notifications, the high word of msg::command's wparam.
namespace en {
inline constexpr std::uint32_t change = 0x0300;
}

// Sets the box's text: the caret goes to its end, nothing selected, and the
// box shows it; the parent is not told. False for a window that is no edit box.
bool set_edit_text(Window, std::u16string_view);
// The selection as [start, end) in characters.
struct EditSelection {
    std::size_t start = 0;
    std::size_t end = 0;
};
EditSelection edit_selection(Window);
bool is_edit_read_only(Window);

}
