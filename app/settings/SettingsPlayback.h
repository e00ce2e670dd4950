#pragma once

#include "app/settings/ControlComboBoxTurnOff.h"
#include "skinner/controls/ControlComboBoxStringReadonly.h"
#include "skinner/controls/ControlTabElement.h"

class Settings;

// The second settings page: what plays after a file ends, and when the
// display goes off during playback.
class SettingsPlayback : public skinner::ControlTabElement {
public:
    SettingsPlayback(skinner::ControlTab& tab, std::u16string_view id, skinner::ControlMode mode, Settings& settings);
    ~SettingsPlayback() override;

    void save(Settings& settings);

private:
    skinner::ControlComboBoxStringReadonly m_mode;
    ControlComboBoxTurnOff m_turn_off;
};
