#pragma once

#include "skinner/system/HardwareKeysImpl.h"

#include <memory>

namespace skinner {

class Form;

// A form's hardware keys: the device's application buttons, assigned to
// command names that reach the form's on_command when pressed.
class HardwareKeys {
public:
    explicit HardwareKeys(Form& form);
    ~HardwareKeys();
    HardwareKeys(const HardwareKeys&) = delete;
    HardwareKeys& operator=(const HardwareKeys&) = delete;

    // The number of keys the shell lists.
    static int get_key_count();

    // An empty command gives the key back; an index outside the list is ignored.
    void register_key(std::size_t index, std::u16string_view command);
    void set_release_on_deactivate(bool release);
    // When set, commands outside the list are traced and assigned nothing.
    void set_known_commands(std::vector<std::u16string> commands);

    // The keys in key-code order.
    std::size_t get_count() const { return m_impl->record_count(); }
    const HardwareKeysImpl::Record& get_key(std::size_t index) const { return m_impl->record(index); }

private:
    std::unique_ptr<HardwareKeysImpl> m_impl;
};

}
