#include "skinner/system/HardwareKeys.h"

#include "os/Registry.h"
#include "skinner/core/Form.h"
#include "skinner/core/FormImpl.h"

namespace skinner {

HardwareKeys::HardwareKeys(Form& form)
    : m_impl(std::make_unique<HardwareKeysImpl>(form.window().handle(), &form))
{
}

HardwareKeys::~HardwareKeys() = default;

int HardwareKeys::get_key_count()
{
    return int(os::registry_enum_subkeys(u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shell\\Keys").size());
}

void HardwareKeys::register_key(std::size_t index, std::u16string_view command)
{
    m_impl->register_key(index, command);
}

void HardwareKeys::set_release_on_deactivate(bool release)
{
    m_impl->set_release_on_deactivate(release);
}

void HardwareKeys::set_known_commands(std::vector<std::u16string> commands)
{
    m_impl->set_known_commands(std::move(commands));
}

}
