#pragma once

#include "skinner/widgets/buttons/ControlCheckBox.h"
#include "skinner/widgets/text/ControlLCD.h"
#include "skinner/widgets/panels/ControlPanel.h"

#include <cstdint>

// The elapsed or the remaining time of what plays or records, as hours and
// minutes or as minutes and seconds on an LCD display, with lamps that tell
// which mode and which unit it shows.
class ControlClock : public skinner::ControlPanel {
public:
    ControlClock(skinner::Container& container, std::u16string_view id,
        skinner::ControlMode mode = skinner::ControlMode::named);
    ~ControlClock() override;

    // Stores both times (seconds) and shows the one the mode chooses.
    void set_times(double elapsed, double remaining);
    // 1 while the elapsed time shows, 0 while the remaining time shows.
    std::int32_t get_mode() const;
    // When the remaining-time lamp equals shown_remaining, turns it over and
    // shows the stored times again.
    void switch_mode(bool shown_remaining);

    const std::u16string& text() const { return m_lcd.text(); }

private:
    void show();

    skinner::ControlLCD m_lcd;
    skinner::ControlCheckBox m_mode;
    skinner::ControlCheckBox m_hours;
    skinner::ControlCheckBox m_minutes;
    double m_elapsed = 0;
    double m_remaining = 0;
};
