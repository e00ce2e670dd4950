#include "skinner/system/PowerManager.h"

#include "skinner/skin/Edition.h"
#include "skinner/system/PowerManagerImplPocket.h"

namespace skinner {

PowerManager::PowerManager(Form& form)
{
    if (is_smartphone)
        m_impl = std::make_unique<PowerManagerImpl>(form);
    else
        m_impl = std::make_unique<PowerManagerImplPocket>(form);
}

PowerManager::~PowerManager() = default;

void PowerManager::set_interval(double seconds)
{
    m_impl->set_interval(seconds);
}

void PowerManager::reset_idle_time()
{
    m_impl->reset_idle_time();
}

bool PowerManager::is_display_on()
{
    return m_impl->is_display_on();
}

}
