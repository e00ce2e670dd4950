#include "skinner/widgets/combos/ControlComboBox.h"

#include "os/Log.h"
#include "platform/ui/WindowManager.h"
#include "skinner/core/FormImpl.h"
#include "skinner/core/MessageLoop.h"

namespace skinner {

ControlComboBox::ControlComboBox(Container& container, std::u16string_view id, ControlMode mode)
    : ControlPanel(container, id, mode)
    , m_button(*get_container(), get_property_string(u"ButtonKind", u""), ControlMode::kind)
{
    load_properties();
}

ControlComboBox::~ControlComboBox() = default;

void ControlComboBox::load()
{
    ControlPanel::load();
    load_properties();
}

void ControlComboBox::load_properties()
{
    const Point size = get_property_point(u"DropdownSize", {});
    m_dropdown_size = { size.x, size.y };
    m_button_width = get_property_int_scaled(u"ButtonWidth", 0);
    m_dropdown_form = get_property_string(u"DropdownForm", u"");
}

void ControlComboBox::set_rect(Point position, Size size)
{
    set_rect_no_layout(position, size);
    if (Control* face = get_edit_part())
        face->set_rect(position, { size.width - m_button_width, size.height });
    m_button.set_rect({ position.x + size.width - m_button_width, position.y }, { m_button_width, size.height });
}

void ControlComboBox::on_focus_gained()
{
    invalidate();
}

bool ControlComboBox::on_click(Control& sender)
{
    if (&sender != &m_button)
        return false;
    if (m_dropdown)
        close_dropdown_window();
    else
        open_dropdown_window();
    return true;
}

bool ControlComboBox::on_keydown(KeyCode key)
{
    if (ControlPanel::on_keydown(key))
        return true;
    if (key != key::enter)
        return false;
    m_button.click_at_centre();
    return true;
}

std::unique_ptr<ControlComboBox::CBForm> ControlComboBox::create_dropdown_form(Point position, Size size)
{
    return std::make_unique<CBForm>(*this, position, size);
}

void ControlComboBox::open_dropdown_window()
{
    if (m_dropdown)
        return;
    Size size = m_dropdown_size;
    if (size.width == 0)
        size.width = this->size().width;
    const Point at = position();
    const std::int32_t form_height = get_form().get_size().height;
    const bool above = at.y + this->size().height + size.height > form_height && at.y - size.height > 0;
    const Point place = above ? Point { at.x, at.y - size.height } : Point { at.x, at.y + this->size().height };
    os::log() << u"ControlComboBox::open_dropdown_window 1\n";
    m_dropdown = create_dropdown_form(place, size);
    os::log() << u"ControlComboBox::open_dropdown_window 2\n";
    run_message_loop(m_dropdown->window().handle());
    os::log() << u"ControlComboBox::open_dropdown_window 3\n";
    on_dropdown_closed(*this);
    os::log() << u"ControlComboBox::open_dropdown_window 4\n";
    m_dropdown.reset();
    // The keyboard goes back to the form the combo box is on.
    platform::set_focus(get_form().window().handle());
    os::log() << u"ControlComboBox::open_dropdown_window 5\n";
}

void ControlComboBox::close_dropdown_window()
{
    if (!m_dropdown)
        return;
    os::log() << u"ControlComboBox::close_dropdown_window 1\n";
    m_dropdown->close();
}

ControlComboBox::CBForm::CBForm(ControlComboBox& combo, Point position, Size size)
    : FormCombo(combo.get_form(), combo.get_properties(), combo.m_dropdown_form, &combo, position, size)
{
}

bool ControlComboBox::CBForm::on_keydown(KeyCode key)
{
    if (FormCombo::on_keydown(key))
        return true;
    if (key != key::escape && key != key::enter)
        return false;
    os::log() << u"ControlComboBox::CBForm::on_keydown 1\n";
    close();
    return true;
}

}
