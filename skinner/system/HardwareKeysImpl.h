#pragma once

#include "platform/ui/Icon.h"
#include "skinner/core/ControlSubclass.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace skinner {

class Listener;

// The device's application buttons as the shell lists them (registry key
// HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shell\Keys, one sub-key per button),
// taken from the shell as hot keys of a window and turned into the command
// names assigned to them. Keys are taken on assignment and on every
// activation of the window; they are given back when assigned nothing, while
// the window is inactive (when asked), and when the window or this object
// goes. GUI thread only.
class HardwareKeysImpl : public ControlSubclass {
public:
    struct Record {
        std::u16string name; // the sub-key's "Name", may be empty
        std::unique_ptr<platform::Icon> icon; // the small icon of its "Icon"; null for none
        std::u16string command; // empty: the key is not taken
        std::uint32_t key = 0; // virtual key code
    };

    // Watches the window; the listener receives the commands (not owned).
    HardwareKeysImpl(platform::Window window, Listener* listener);
    ~HardwareKeysImpl() override;

    // Records in key-code order.
    std::size_t record_count() const { return m_records.size(); }
    const Record& record(std::size_t index) const { return m_records[index]; }

    // Assigns the command to the record and takes or gives back the keys
    // accordingly; an index outside the records is ignored.
    void register_key(std::size_t index, std::u16string_view command);
    void set_release_on_deactivate(bool release) { m_release_on_deactivate = release; }
    // When set, a command outside the list is traced and assigned nothing.
    void set_known_commands(std::vector<std::u16string> commands) { m_known_commands = std::move(commands); }

    platform::LResult window_proc(platform::MessageId message, platform::WParam wparam, platform::LParam lparam,
        MessageContext& context) override;

    // The key code a sub-key's name stands for: its last two characters as
    // hexadecimal digits (anything else counts as 0); 0 for a shorter name.
    static std::uint32_t key_code_from_name(std::u16string_view sub_key);

private:
    void read_records();
    bool is_known(std::u16string_view command) const;
    bool is_wanted(std::uint32_t key) const;
    void register_all();
    void give_all_back();
    void on_hotkey(std::uint32_t key);

    platform::Window m_window {};
    bool m_release_on_deactivate = false;
    std::vector<Record> m_records;
    Listener* m_listener = nullptr;
    std::vector<std::u16string> m_known_commands;
};

}
