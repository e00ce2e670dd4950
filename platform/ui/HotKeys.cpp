#include "platform/ui/HotKeys.h"

#include "platform/core/MessageQueue.h"
#include "platform/core/RegistryStore.h"
#include "platform/core/Window.h"
#include "platform/ui/detail/Shell.h"
#include "platform/ui/Input.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

namespace {

constexpr std::uint32_t first_button = vk::application_1;
constexpr std::uint32_t last_button = vk::application_1 + 5;
constexpr std::uint32_t lwin = 0x5B;
constexpr std::uint32_t rwin = 0x5C;

struct HotKey {
    Window window;
    int id;
    std::uint32_t modifiers;
    std::uint32_t key;
    bool on_release;
};

// A press that a hot key or a key override took, for its release.
struct Taken {
    bool by_override = false;
    std::optional<HotKey> hot_key;
    std::uint32_t modifiers = 0;
};

struct HotKeyState {
    std::vector<HotKey> keys;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> shell_holds;
    std::array<std::optional<Taken>, 256> taken;

    HotKeyState()
    {
        for (std::uint32_t k = first_button; k <= last_button; ++k)
            shell_holds.emplace_back(mod::win, k);
    }
};

HotKeyState& hot_keys()
{
    static auto* s = new HotKeyState;
    return *s;
}

void forget_gone_windows()
{
    std::erase_if(hot_keys().keys, [](const HotKey& h) { return !is_window(h.window); });
}

std::uint32_t current_modifiers(std::uint32_t key)
{
    std::uint32_t m = 0;
    if (is_key_down(vk::menu))
        m |= mod::alt;
    if (is_key_down(vk::control))
        m |= mod::control;
    if (is_key_down(vk::shift))
        m |= mod::shift;
    if (is_key_down(lwin) || is_key_down(rwin) || (key >= first_button && key <= last_button))
        m |= mod::win;
    return m;
}

bool held_by_shell(std::uint32_t modifiers, std::uint32_t key)
{
    auto& holds = hot_keys().shell_holds;
    return std::find(holds.begin(), holds.end(), std::pair(modifiers, key)) != holds.end();
}

std::vector<std::uint8_t> utf16_bytes(std::u16string_view text)
{
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(std::uint8_t(c));
        bytes.push_back(std::uint8_t(c >> 8));
    }
    bytes.insert(bytes.end(), { 0, 0 });
    return bytes;
}

void post_hot_key(const HotKey& h, std::uint32_t modifiers)
{
    post_message(h.window, msg::hot_key, WParam(h.id), LParam(modifiers | h.key << 16));
}

bool press(std::uint32_t key)
{
    auto& s = hot_keys();
    forget_gone_windows();
    std::uint32_t modifiers = current_modifiers(key);
    for (auto& h : s.keys) {
        if (h.key == key && h.modifiers == modifiers) {
            post_hot_key(h, modifiers);
            s.taken[key & 0xFF] = Taken { false, h, modifiers };
            return true;
        }
    }
    if (detail::menu_bar_key(key, true, modifiers)) {
        s.taken[key & 0xFF] = Taken { true, std::nullopt, modifiers };
        return true;
    }
    // A key the shell holds has no action of the shell here: it goes on as a key.
    return false;
}

bool release(std::uint32_t key)
{
    auto taken = std::exchange(hot_keys().taken[key & 0xFF], std::nullopt);
    if (!taken)
        return false;
    if (taken->by_override)
        detail::menu_bar_key(key, false, taken->modifiers);
    else if (taken->hot_key && taken->hot_key->on_release && is_window(taken->hot_key->window))
        post_hot_key(*taken->hot_key, taken->modifiers | mod::key_up);
    return true;
}

}

namespace detail {

bool hot_key_input(std::uint32_t key, bool down)
{
    return down ? press(key) : release(key);
}

}

bool register_hot_key(Window w, int id, std::uint32_t modifiers, std::uint32_t key)
{
    if (!is_window(w))
        return false;
    forget_gone_windows();
    bool on_release = modifiers & mod::key_up;
    modifiers &= ~mod::key_up;
    if (held_by_shell(modifiers, key))
        return false;
    auto& keys = hot_keys().keys;
    for (auto& h : keys) {
        if (h.key == key && h.modifiers == modifiers && !(h.window == w && h.id == id))
            return false;
    }
    std::erase_if(keys, [&](const HotKey& h) { return h.window == w && h.id == id; });
    keys.push_back({ w, id, modifiers, key, on_release });
    return true;
}

bool unregister_hot_key(Window w, int id)
{
    return std::erase_if(hot_keys().keys, [&](const HotKey& h) { return h.window == w && h.id == id; }) > 0;
}

bool release_shell_hot_key(std::uint32_t modifiers, std::uint32_t key)
{
    return std::erase(hot_keys().shell_holds, std::pair(modifiers & ~mod::key_up, key)) > 0;
}

bool seed_hardware_keys(RegistryStore& store)
{
    constexpr std::u16string_view keys = u"SOFTWARE\\Microsoft\\Shell\\Keys";
    if (store.key_exists(RegistryRoot::local_machine, keys))
        return true;
    for (int n = 1; n <= 6; ++n) {
        static constexpr char16_t hex[] = u"0123456789ABCDEF";
        std::uint32_t code = first_button + std::uint32_t(n - 1);
        std::u16string sub_key = std::u16string(keys) + u"\\40" + hex[code >> 4] + hex[code & 0xF];
        std::u16string digit(1, char16_t(u'0' + n));
        if (!store.create_key(RegistryRoot::local_machine, sub_key)
            || !store.set_value(RegistryRoot::local_machine, sub_key, u"Name", registry_string,
                utf16_bytes(u"Button " + digit))
            || !store.set_value(RegistryRoot::local_machine, sub_key, u"Icon", registry_string,
                utf16_bytes(u"ApplicationButton" + digit + u",0")))
            return false;
    }
    return true;
}

}
