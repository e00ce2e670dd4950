#pragma once

#include "platform/core/Thread.h"

#include <cstdint>

// Window handles, message records and the message numbers the program uses.
namespace platform {

// A window of this process; handles are never reused, so a stale one simply fails.
enum class Window : std::uint32_t {};
inline constexpr Window no_window {};

using MessageId = std::uint32_t;
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

struct Message {
    Window window {}; // no_window for a thread message
    MessageId message = 0;
    WParam wparam = 0;
    LParam lparam = 0;
};

// The record a copy-data message points to (lparam); its bytes live until the send returns.
struct CopyData {
    std::uintptr_t data_word = 0;
    std::uint32_t size = 0;
    const void* bytes = nullptr;
};

// Which parameter of a message carries its pointer.
enum class Carrier { wparam, lparam };

// A message that carries a pointer to T in one of its parameters. The type
// and the parameter are named once, where the message is declared: senders
// pack the pointer with wparam() and lparam() (or post it through
// platform/core/MessageQueue.h), receivers take it back with payload(), and
// neither end casts.
template<typename T, Carrier carrier>
struct PointerMessage {
    MessageId id;

    WParam wparam(T* pointer) const
    {
        return carrier == Carrier::wparam ? reinterpret_cast<WParam>(pointer) : 0;
    }

    LParam lparam(T* pointer) const
    {
        return carrier == Carrier::lparam ? reinterpret_cast<LParam>(pointer) : 0;
    }

    T* payload(WParam wparam, LParam lparam) const
    {
        return reinterpret_cast<T*>(carrier == Carrier::wparam ? wparam : static_cast<WParam>(lparam));
    }

    T* payload(const Message& message) const { return payload(message.wparam, message.lparam); }
};

namespace msg {
inline constexpr MessageId destroy = 2;
inline constexpr MessageId size = 5;
inline constexpr MessageId activate = 6;
inline constexpr MessageId set_focus = 7;
inline constexpr MessageId kill_focus = 8;
inline constexpr MessageId paint = 15;
inline constexpr MessageId close = 16;
inline constexpr MessageId quit = 18;
inline constexpr MessageId erase_background = 20;
inline constexpr MessageId setting_change = 26;
inline constexpr MessageId copy_data = 74;
inline constexpr MessageId key_down = 256;
inline constexpr MessageId key_up = 257;
inline constexpr MessageId character = 258;
inline constexpr MessageId sys_key_down = 260;
inline constexpr MessageId sys_key_up = 261;
inline constexpr MessageId ime_composition = 271;
inline constexpr MessageId command = 273;
inline constexpr MessageId timer = 275;
inline constexpr MessageId init_menu_popup = 279;
inline constexpr MessageId mouse_move = 512;
inline constexpr MessageId left_button_down = 513;
inline constexpr MessageId left_button_up = 514;
inline constexpr MessageId left_button_double_click = 515;
inline constexpr MessageId mouse_wheel = 522;
inline constexpr MessageId capture_changed = 533;
inline constexpr MessageId hot_key = 786;
inline constexpr MessageId wave_out_open = 955;
inline constexpr MessageId wave_out_close = 956;
inline constexpr MessageId wave_out_done = 957;
inline constexpr MessageId wave_in_open = 958;
inline constexpr MessageId wave_in_close = 959;
inline constexpr MessageId wave_in_data = 960;
inline constexpr MessageId user = 1024;
inline constexpr MessageId user_command = user + 1; // the Today item's command channel
inline constexpr MessageId user_key = user + 2; // key notification of the UI framework
inline constexpr MessageId user_setting = user + 4;
inline constexpr MessageId active_completed = user + 5; // completion of an active object
inline constexpr MessageId form_close = user + 0x21;
}

// The copy-data message with the record it points to.
inline constexpr PointerMessage<const CopyData, Carrier::lparam> copy_data_message { msg::copy_data };

}
