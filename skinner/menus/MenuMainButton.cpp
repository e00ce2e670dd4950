#include "skinner/menus/MenuMainButton.h"

#include "skinner/core/Form.h"
#include "skinner/core/MenuEntry.h"

namespace skinner {

MenuMainButton::MenuMainButton(Container& container, std::u16string_view id, std::u16string_view text,
    std::int32_t order, std::u16string_view label)
    : Control(container, id, ControlMode::unskinned)
    , m_text(text)
    , m_label(label)
{
    set_z_order(order);
    set_want_focus(false);
    translate_text();
    menu_items().add(*this);
}

MenuMainButton::~MenuMainButton()
{
    menu_items().remove(*this);
}

MenuManager& MenuMainButton::menu_items() const
{
    return get_form().menu_items();
}

void MenuMainButton::translate_text()
{
    if (!m_text.empty())
        m_text = translate(id(), m_text);
}

std::u16string MenuMainButton::get_text()
{
    return m_label.empty() ? id() : m_label;
}

void MenuMainButton::build_menu_entry(MenuEntry& entry)
{
    entry.id = id();
    entry.text = m_text;
    entry.enabled = is_enabled();
    entry.separator_after = m_separator_after;
    entry.checked = m_checked;
    entry.image = m_image;
    entry.owner = this;
}

void MenuMainButton::load()
{
    Control::load();
    translate_text();
    menu_items().update();
}

void MenuMainButton::on_visible_changed(bool visible)
{
    if (visible)
        menu_items().add(*this);
    else
        menu_items().remove(*this);
}

void MenuMainButton::on_enabled_changed(bool)
{
    menu_items().update();
}

void MenuMainButton::set_separator_after(bool separator)
{
    if (separator == m_separator_after)
        return;
    m_separator_after = separator;
    menu_items().update();
}

void MenuMainButton::set_image_index(std::int32_t image)
{
    if (image == m_image)
        return;
    m_image = image;
    menu_items().update();
}

}
