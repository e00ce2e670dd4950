#include "skinner/skin/Font.h"

namespace skinner {

Font::Font(std::uint32_t scale)
    : m_scale(scale)
{
}

void Font::set_description(const std::u16string& description)
{
    m_entry.reset();
    m_entry = find_font(description, m_scale);
}

}
