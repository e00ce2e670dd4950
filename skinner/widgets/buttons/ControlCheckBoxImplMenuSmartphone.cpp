#include "skinner/widgets/buttons/ControlCheckBoxImplMenuSmartphone.h"

#include "skinner/widgets/buttons/ControlCheckBox.h"
#include "skinner/core/Form.h"
#include "skinner/menus/MenuEntry.h"

namespace skinner {

ControlCheckBoxImplMenuSmartphone::ControlCheckBoxImplMenuSmartphone(ControlCheckBox& owner, std::u16string label)
    : ControlButtonImplMenuSmartphone(owner, std::move(label))
    , m_box(owner)
{
}

void ControlCheckBoxImplMenuSmartphone::set_checked(bool, bool)
{
    m_box.get_form().menu_items().update();
}

void ControlCheckBoxImplMenuSmartphone::build_menu_entry(MenuEntry& entry)
{
    ControlButtonImplMenuSmartphone::build_menu_entry(entry);
    entry.checked = m_box.is_checked();
}

}
