#pragma once

#include "skinner/widgets/combos/ControlComboBoxGenericReadonly.h"

#include <string>
#include <vector>

namespace skinner {

// The read-only combo box over texts, each shown as it is.
class ControlComboBoxStringReadonly : public ControlComboBoxGenericReadonly<std::vector<std::u16string>> {
public:
    using ControlComboBoxGenericReadonly::ControlComboBoxGenericReadonly;

    void paint_item(std::int32_t row, Canvas& canvas, Point position, Size size, bool selected,
        bool highlighted) override;
    // Shows the current item in the face.
    bool on_selection_changed(Control& sender) override;
};

}
