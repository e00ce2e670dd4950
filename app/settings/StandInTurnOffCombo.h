#pragma once

#include "skinner/controls/ControlComboBoxGenericReadonly.h"

#include <cstdint>
#include <string>
#include <vector>

// The display turn-off times of the settings pages, until the main form's
// own turn-off combo box is in the tree: six times from "never" to a minute.
class StandInTurnOffCombo : public skinner::ControlComboBoxGenericReadonly<std::vector<std::pair<std::u16string, std::int32_t>>> {
public:
    StandInTurnOffCombo(skinner::Container& container, std::u16string_view id,
        skinner::ControlMode mode = skinner::ControlMode::named);

    // The first time of at least the seconds; "never" when none is.
    void select_seconds(std::int32_t seconds);
    // The current item's seconds; 0 (never) without one.
    std::int32_t selected_seconds() const;

    void paint_item(std::int32_t row, skinner::Canvas& canvas, skinner::Point position, skinner::Size size,
        bool selected, bool highlighted) override;
    bool on_selection_changed(skinner::Control& sender) override;
};
