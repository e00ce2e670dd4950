#include "skinner/system/HardwareKeysImpl.h"

#include "os/Log.h"
#include "os/Registry.h"
#include "platform/ui/HotKeys.h"
#include "platform/ui/WindowManager.h"
#include "skinner/core/Listener.h"

#include <algorithm>

namespace skinner {

namespace {

constexpr std::u16string_view keys_path = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shell\\Keys";

std::uint32_t hex_digit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return 0;
}

std::unique_ptr<platform::Icon> icon_of(std::u16string_view icon_value)
{
    // "file,index": the shell's small icon of the file.
    return platform::small_file_icon(icon_value.substr(0, icon_value.find(u',')));
}

}

HardwareKeysImpl::HardwareKeysImpl(platform::Window window, Listener* listener)
    : m_window(window)
    , m_listener(listener)
{
    subclass(window);
    read_records();
}

HardwareKeysImpl::~HardwareKeysImpl()
{
    // Keys taken must not stay away from the shell once nobody answers them.
    give_all_back();
}

void HardwareKeysImpl::read_records()
{
    for (const std::u16string& sub_key : os::registry_enum_subkeys(keys_path)) {
        std::u16string path = std::u16string(keys_path) + u"\\" + sub_key;
        Record record;
        os::registry_read_string(path, u"Name", record.name);
        std::u16string icon;
        if (os::registry_read_string(path, u"Icon", icon))
            record.icon = icon_of(icon);
        record.key = key_code_from_name(sub_key);
        m_records.push_back(std::move(record));
    }
    std::stable_sort(
        m_records.begin(), m_records.end(), [](const Record& a, const Record& b) { return a.key < b.key; });
}

std::uint32_t HardwareKeysImpl::key_code_from_name(std::u16string_view sub_key)
{
    if (sub_key.size() < 2)
        return 0;
    return hex_digit(sub_key[sub_key.size() - 2]) << 4 | hex_digit(sub_key.back());
}

bool HardwareKeysImpl::is_known(std::u16string_view command) const
{
    return m_known_commands.empty() || std::ranges::find(m_known_commands, command) != m_known_commands.end();
}

void HardwareKeysImpl::register_key(std::size_t index, std::u16string_view command)
{
    if (index >= m_records.size())
        return;
    if (!is_known(command)) {
        os::log() << u"HardwareKeys: ignoring the unknown command " << command << u"\n";
        command = {};
    }
    m_records[index].command = command;
    register_all();
}

// Two records may name one key: it stays taken while either has a command.
bool HardwareKeysImpl::is_wanted(std::uint32_t key) const
{
    return std::ranges::any_of(m_records, [key](const Record& r) { return r.key == key && !r.command.empty(); });
}

void HardwareKeysImpl::register_all()
{
    for (const Record& r : m_records) {
        platform::release_shell_hot_key(platform::mod::win, r.key);
        if (is_wanted(r.key))
            platform::register_hot_key(m_window, int(r.key), platform::mod::win, r.key);
        else
            platform::unregister_hot_key(m_window, int(r.key));
    }
}

void HardwareKeysImpl::give_all_back()
{
    for (const Record& r : m_records) {
        platform::release_shell_hot_key(platform::mod::win, r.key);
        platform::unregister_hot_key(m_window, int(r.key));
    }
}

void HardwareKeysImpl::on_hotkey(std::uint32_t key)
{
    if (!m_listener)
        return;
    os::log() << u"WM_HOTKEY" << int(key) << u"\n";
    auto found = std::ranges::find_if(
        m_records, [key](const Record& r) { return r.key == key && !r.command.empty(); });
    if (found != m_records.end())
        m_listener->on_command(found->command);
}

platform::LResult HardwareKeysImpl::window_proc(
    platform::MessageId message, platform::WParam wparam, platform::LParam lparam, MessageContext&)
{
    switch (message) {
    case platform::msg::hot_key:
        on_hotkey(platform::hot_key_key(lparam));
        break;
    case platform::msg::activate:
        if (wparam != platform::wa::inactive)
            register_all();
        else if (m_release_on_deactivate)
            give_all_back();
        break;
    case platform::msg::destroy:
        give_all_back();
        break;
    default:
        break;
    }
    return 0;
}

}
