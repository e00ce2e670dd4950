#pragma once

#include "model/Document.h"
#include "skinner/widgets/buttons/ControlCheckBox.h"
#include "skinner/widgets/combos/ControlComboBoxStringReadonly.h"
#include "skinner/widgets/panels/ControlPanel.h"
#include "skinner/widgets/progress/ControlProgress.h"

#include <array>

// The main form's more-controls panel: the playback speed slider (0.5 to
// 2.0), the pitch lock, and the four-step noise, limiter and booster selectors.
class PanelMoreControls : public skinner::ControlPanel, public Document::View {
public:
    PanelMoreControls(skinner::Container& container, std::u16string_view id);
    ~PanelMoreControls() override;

    // The slider's value for a speed, and the speed for a value.
    static double speed_to_value(double speed);
    static double value_to_speed(double value);

    bool on_value_changed(skinner::Control& sender, double value) override;
    bool on_click(skinner::Control& sender) override;
    bool on_dropdown_closed(skinner::Control& sender) override;
    void update(const Document::Changes& changes) override;
    // The selectors' texts come again from the new language.
    void load() override;

private:
    // A selector that can refresh its open drop-down after new items.
    class Selector : public skinner::ControlComboBoxStringReadonly {
    public:
        using ControlComboBoxStringReadonly::ControlComboBoxStringReadonly;
        void set_items(std::vector<std::u16string> texts);
    };

    void fill_selectors();

    skinner::ControlProgress m_speed;
    Selector m_noise;
    Selector m_limiter;
    Selector m_booster;
    skinner::ControlCheckBox m_pitch_lock;
};
