#include "skinner/widgets/buttons/ControlCheckBox.h"

#include "skinner/skin/Edition.h"
#include "skinner/widgets/buttons/ControlCheckBoxImplMenuSmartphone.h"

namespace skinner {

ControlCheckBox::ControlCheckBox(Container& container, std::u16string_view name, ControlMode mode)
    : ControlButtonBase(container, name, mode)
{
    load_own();
    make_impl();
}

void ControlCheckBox::load()
{
    ControlButtonBase::load();
    load_own();
    make_impl();
}

void ControlCheckBox::load_own()
{
    m_checked = get_property_int(u"Checked", m_checked ? 1 : 0) != 0;
    m_checked_looks.load(*this, u"Checked");
    m_unchecked_text = get_property_string(u"Text", m_unchecked_text);
    m_checked_text = get_property_string(u"CheckedText", m_unchecked_text);
    // The base read "Text" as its own; show the text of the state read.
    store_text(m_checked ? m_checked_text : m_unchecked_text);
}

void ControlCheckBox::make_impl()
{
    set_impl(nullptr);
    set_impl(make_platform_part());
    set_want_focus(Control::wants_focus());
}

std::unique_ptr<ControlButtonImpl> ControlCheckBox::make_platform_part()
{
    if constexpr (is_smartphone) {
        if (action() == ButtonAction::button_no_menu)
            return std::make_unique<ControlButtonImpl>(*this, true, true);
        // Without a touch screen the box is reached through the soft-key menu.
        if (mode() == ControlMode::named && Control::wants_focus())
            return std::make_unique<ControlCheckBoxImplMenuSmartphone>(*this, u"");
        return std::make_unique<ControlButtonImpl>(*this, true, false);
    }
    return std::make_unique<ControlButtonImpl>(*this, true, true);
}

void ControlCheckBox::set_text(std::u16string_view text)
{
    m_unchecked_text = text;
    m_checked_text = text;
    ControlButtonBase::set_text(text);
}

void ControlCheckBox::click(const ButtonClick& click)
{
    set_checked(!m_checked, true);
    ControlButtonBase::click(click);
}

const ButtonLookSet& ControlCheckBox::get_pictures() const
{
    return m_checked ? m_checked_looks : ControlButtonBase::get_pictures();
}

void ControlCheckBox::set_checked(bool checked, bool flag)
{
    if (checked == m_checked)
        return;
    m_checked = checked;
    if (ControlButtonImpl* part = impl())
        part->set_checked(checked, flag);
    if (m_checked_text != m_unchecked_text)
        show_state_text();
    invalidate();
}

void ControlCheckBox::set_state_text(std::u16string_view text, TextState state)
{
    (state == TextState::checked ? m_checked_text : m_unchecked_text) = text;
    show_state_text();
}

void ControlCheckBox::show_state_text()
{
    ControlButtonBase::set_text(m_checked ? m_checked_text : m_unchecked_text);
}

}
