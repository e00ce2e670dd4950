#include "skinner/widgets/tabs/ControlTabElement.h"

#include "skinner/widgets/tabs/ControlTab.h"

namespace skinner {

ControlTabElement::ControlTabElement(ControlTab& tab, std::u16string_view id, ControlMode mode, Properties* properties)
    : ControlPanel(*tab.get_container(), id, mode, properties)
    , m_tab(tab)
    , m_title(get_property_string(u"Text", u""))
{
    tab.add_page(*this);
}

ControlTabElement::~ControlTabElement()
{
    m_tab.remove_page(*this);
}

void ControlTabElement::load()
{
    ControlPanel::load();
    m_title = get_property_string(u"Text", u"");
}

void ControlTabElement::on_visible_changed(bool visible)
{
    ControlPanel::on_visible_changed(visible);
    if (!visible)
        return;
    m_tab.on_page_shown(*this);
    invalidate();
}

bool ControlTabElement::on_keydown(KeyCode key)
{
    if (ControlPanel::on_keydown(key))
        return true;
    if (key == key::left)
        return m_tab.previous_page();
    if (key == key::right)
        return m_tab.next_page();
    return false;
}

}
