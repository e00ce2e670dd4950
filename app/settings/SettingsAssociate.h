#pragma once

#include "skinner/widgets/buttons/ControlCheckBox.h"
#include "skinner/widgets/tabs/ControlTabElement.h"

class Settings;

// The fifth settings page: the file types the desktop opens with this program.
class SettingsAssociate : public skinner::ControlTabElement {
public:
    SettingsAssociate(skinner::ControlTab& tab, std::u16string_view id, skinner::ControlMode mode, Settings& settings);
    ~SettingsAssociate() override;

    // Takes over or gives back each type with the desktop.
    void save(Settings& settings);

private:
    skinner::ControlCheckBox m_wav;
    skinner::ControlCheckBox m_mp3;
    skinner::ControlCheckBox m_m3u;
    skinner::ControlCheckBox m_ogg;
    skinner::ControlCheckBox m_wma;
};
