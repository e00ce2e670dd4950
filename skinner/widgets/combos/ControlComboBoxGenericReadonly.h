#pragma once

#include "skinner/widgets/combos/ControlComboBoxGenericBase.h"
#include "skinner/widgets/text/ControlFrame.h"

namespace skinner {

// A generic combo box whose face is a text frame.
template<typename Vector>
class ControlComboBoxGenericReadonly : public ControlComboBoxGenericBase<Vector> {
public:
    ControlComboBoxGenericReadonly(Container& container, std::u16string_view id,
        ControlMode mode = ControlMode::named)
        : ControlComboBoxGenericBase<Vector>(container, id, mode)
        , m_face(*this->get_container(), this->get_property_string(u"EditKind", u""), ControlMode::kind)
    {
        this->update_layout();
    }

    Control* get_edit_part() override { return &m_face; }
    ControlFrame& face() { return m_face; }

private:
    ControlFrame m_face;
};

}
