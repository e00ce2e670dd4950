#pragma once

#include "skinner/widgets/combos/ControlComboBoxGenericReadonly.h"

#include <cstdint>
#include <string>
#include <vector>

// One choice of the display turn-off time: its text and its seconds (0 never).
struct TurnOffTime {
    std::u16string text;
    std::int32_t seconds = 0;
};

// The read-only combo box of the settings pages for the idle time after
// which the display goes off. Its texts are translated once, when it is
// built: a later language change shows only in a new one.
class ControlComboBoxTurnOff : public skinner::ControlComboBoxGenericReadonly<std::vector<TurnOffTime>> {
public:
    ControlComboBoxTurnOff(skinner::Container& container, std::u16string_view id,
        skinner::ControlMode mode = skinner::ControlMode::named);
    ~ControlComboBoxTurnOff() override;

    // The first item of at least that many seconds; item 0 when none is.
    void select_seconds(std::int32_t seconds);
    // The current item's seconds; item 0's when nothing is selected.
    std::int32_t selected_seconds() const;

    void paint_item(std::int32_t row, skinner::Canvas& canvas, skinner::Point position, skinner::Size size,
        bool selected, bool highlighted) override;
    // The face shows the current item, or item 0 when nothing is selected.
    bool on_selection_changed(skinner::Control& sender) override;
};
