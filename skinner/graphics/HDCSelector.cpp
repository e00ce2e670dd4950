#include "skinner/graphics/HDCSelector.h"

#include "os/Log.h"

namespace skinner {

HDCSelector::HDCSelector(platform::Bitmap* bitmap)
{
    if (!bitmap)
        return;
    m_dc = platform::DeviceContext::memory();
    const std::optional<platform::Bitmap*> previous = m_dc->select_bitmap(bitmap);
    if (!previous)
        os::fatal_error(u"HDCSelector::HDCSelector", u"Failed to select bitmap into context");
    m_previous = *previous;
}

HDCSelector::~HDCSelector()
{
    if (m_dc)
        m_dc->select_bitmap(m_previous);
}

}
