#pragma once

#include "app/controls/ControlProgress2Scale.h"
#include "model/Document.h"
#include "skinner/widgets/buttons/ControlCheckBox.h"
#include "skinner/widgets/panels/ControlPanel.h"
#include "skinner/widgets/progress/ControlProgress.h"

// The main form's levels panel: meters for voice activation, the recording
// input and the playback output, the three sliders that set the threshold,
// the input gain and the volume, and the switches of voice activation and of
// the input. A switch shows the negation of its function: checked is off.
class PanelLevels : public skinner::ControlPanel, public Document::View {
public:
    PanelLevels(skinner::Container& container, std::u16string_view id);
    ~PanelLevels() override;

    bool on_value_changed(skinner::Control& sender, double value) override;
    bool on_click(skinner::Control& sender) override;
    void update(const Document::Changes& changes) override;

private:
    skinner::ControlProgress m_vas;
    skinner::ControlProgress m_input;
    skinner::ControlProgress m_output;
    ControlProgress2Scale m_vas_left;
    ControlProgress2Scale m_vas_right;
    skinner::ControlProgress m_input_left;
    skinner::ControlProgress m_output_left;
    skinner::ControlProgress m_input_right;
    skinner::ControlProgress m_output_right;
    skinner::ControlCheckBox m_vas_switch;
    skinner::ControlCheckBox m_input_switch;
    skinner::ControlCheckBox m_output_switch;
    skinner::ControlCheckBox m_vas_indicator;
    skinner::ControlCheckBox m_input_indicator;
    skinner::ControlCheckBox m_output_indicator;
};
