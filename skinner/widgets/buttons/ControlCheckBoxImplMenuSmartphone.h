#pragma once

#include "skinner/widgets/buttons/ControlButtonImplMenuSmartphone.h"

namespace skinner {

class ControlCheckBox;

// A check box as a soft-key menu entry, checked as the box is.
class ControlCheckBoxImplMenuSmartphone final : public ControlButtonImplMenuSmartphone {
public:
    ControlCheckBoxImplMenuSmartphone(ControlCheckBox& owner, std::u16string label);

    void set_checked(bool checked, bool flag) override;
    void build_menu_entry(MenuEntry& entry) override;

private:
    ControlCheckBox& m_box;
};

}
