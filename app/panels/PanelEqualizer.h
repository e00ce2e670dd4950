#pragma once

#include "app/controls/ControlEqualizer.h"
#include "model/Document.h"
#include "skinner/widgets/buttons/ControlCheckBox.h"
#include "skinner/widgets/panels/ControlPanel.h"

#include <array>

// The main form's equalizer panel: the chart and a switch per band. A band
// is on the chart exactly while its switch is checked; every change goes into
// the settings and the playback equalizer at once. A band switched off keeps
// its values in the settings, so switching it on again restores it.
class PanelEqualizer : public skinner::ControlPanel, public Document::View {
public:
    PanelEqualizer(skinner::Container& container, std::u16string_view id);
    ~PanelEqualizer() override;

    bool on_click(skinner::Control& sender) override;
    void update(const Document::Changes& changes) override;

    ControlEqualizer& equalizer() { return m_equalizer; }

private:
    // Writes the chart's bands into the settings and applies them.
    void apply();

    ControlEqualizer m_equalizer;
    std::array<skinner::ControlCheckBox, 3> m_switches;
};
