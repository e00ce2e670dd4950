#include "skinner/core/KeyCode.h"

#include "platform/ui/Input.h"

#include <array>
#include <utility>

namespace skinner {

namespace {

constexpr std::pair<std::uint32_t, KeyCode> named_keys[] {
    { platform::vk::shift, key::shift },
    { platform::vk::control, key::control },
    { platform::vk::menu, key::alt },
    { platform::vk::left, key::left },
    { platform::vk::right, key::right },
    { platform::vk::up, key::up },
    { platform::vk::down, key::down },
    { platform::vk::escape, key::escape },
    { platform::vk::enter, key::enter },
    { platform::vk::space, key::space },
    { platform::vk::back, key::back },
    { platform::vk::del, key::del },
    { platform::vk::insert, key::insert },
    { platform::vk::home, key::home },
    { platform::vk::end, key::end },
    { platform::vk::next, key::page_down },
    { platform::vk::prior, key::page_up },
    { platform::vk::tab, key::tab },
    { platform::vk::apps, key::apps },
};

}

KeyCode map_key(std::uint32_t virtual_key)
{
    if (virtual_key >= 'A' && virtual_key <= 'Z')
        return key::letter_a + KeyCode(virtual_key - 'A');
    if (virtual_key >= '0' && virtual_key <= '9')
        return key::digit_0 + KeyCode(virtual_key - '0');
    for (const auto& [virtual_code, code] : named_keys)
        if (virtual_code == virtual_key)
            return code;
    return key::none;
}

bool is_key_down(std::int32_t which)
{
    static constexpr std::array<std::uint32_t, 3> modifiers { platform::vk::shift, platform::vk::control,
        platform::vk::menu };
    if (which < 1 || which > 3)
        return false;
    return platform::is_key_down(modifiers[std::size_t(which - 1)]);
}

}
