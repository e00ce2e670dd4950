#include "skinner/widgets/buttons/ControlCheckBoxImplMenuSmartphone.h"

#include "skinner/core/MenuEntry.h"
#include "skinner/widgets/buttons/ControlCheckBox.h"

namespace skinner {

ControlCheckBoxImplMenuSmartphone::ControlCheckBoxImplMenuSmartphone(ControlCheckBox& owner, std::u16string label)
    : ControlButtonImplMenuSmartphone(owner, std::move(label))
    , m_box(owner)
{
}

void ControlCheckBoxImplMenuSmartphone::set_checked(bool, bool)
{
    m_box.on_menu_bar_changed(m_box);
}

void ControlCheckBoxImplMenuSmartphone::build_menu_entry(MenuEntry& entry)
{
    ControlButtonImplMenuSmartphone::build_menu_entry(entry);
    entry.checked = m_box.is_checked();
}

}
