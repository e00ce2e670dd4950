#include "skinner/controls/ScrollRange.h"

#include <algorithm>

namespace skinner {

void ScrollRange::set_range(std::int32_t min, std::int32_t max)
{
    m_min = min;
    m_max = max;
    set_position(m_position);
}

void ScrollRange::set_page(std::int32_t page)
{
    m_page = page;
    set_position(m_position);
}

void ScrollRange::set_position(std::int32_t position)
{
    m_max = std::max(m_max, m_min);
    m_page = std::clamp(m_page, 0, m_max - m_min);
    m_position = std::min(std::max(position, m_min), m_max - m_page);
}

}
