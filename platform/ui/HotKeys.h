#pragma once

#include "platform/core/Message.h"

#include <cstdint>

// Hot keys: a key (with modifiers) registered by a window reaches that window
// as msg::hot_key (wparam the id, lparam the modifiers | key << 16) whatever
// window has the focus, instead of a key message; with mod::key_up the
// release comes too, its modifiers with mod::key_up. The application buttons
// (vk::application_1 to 0xC6, F1 to F6 on the desktop) come with mod::win, as
// on the device, and the shell holds them at start: registering one fails
// until the shell's release function lets go of it (the shell starts nothing
// with them here: unregistered, they arrive as keys). Hot keys of a destroyed
// window are gone with it. GUI thread only.
namespace platform {

class RegistryStore;

// Modifiers (their platform numbers).
namespace mod {
inline constexpr std::uint32_t alt = 0x0001;
inline constexpr std::uint32_t control = 0x0002;
inline constexpr std::uint32_t shift = 0x0004;
inline constexpr std::uint32_t win = 0x0008;
inline constexpr std::uint32_t key_up = 0x1000;
}

// Fails for a gone window and for a key and modifiers that the shell or
// another registration holds. The same window and id again replace the key.
bool register_hot_key(Window, int id, std::uint32_t modifiers, std::uint32_t virtual_key);
bool unregister_hot_key(Window, int id);
// The shell's release function: the shell lets go of the key (true when it held it).
bool release_shell_hot_key(std::uint32_t modifiers, std::uint32_t virtual_key);

// The shell's list of hardware keys, HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shell\Keys:
// when the key is missing, one sub-key per application button ("40C1" to
// "40C6": the last two characters are the key code) with the string values
// "Name" ("Button 1" ...) and "Icon" ("ApplicationButton1,0" ..., a name
// that small_file_icon knows). False when the store could not be written.
bool seed_hardware_keys(RegistryStore&);

// The hot key message's parameters.
inline std::uint32_t hot_key_modifiers(LParam l)
{
    return std::uint32_t(l) & 0xFFFF;
}

inline std::uint32_t hot_key_key(LParam l)
{
    return (std::uint32_t(l) >> 16) & 0xFFFF;
}

}
