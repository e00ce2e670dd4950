#pragma once

#include "skinner/widgets/combos/ControlComboBoxStringReadonly.h"
#include "skinner/widgets/tabs/ControlTabElement.h"

class Settings;

namespace skinner {
class Properties;
}

// The sixth settings page: the language, one of the ".lng" files beside
// the program.
class SettingsLanguage : public skinner::ControlTabElement {
public:
    SettingsLanguage(skinner::ControlTab& tab, std::u16string_view id, skinner::ControlMode mode, Settings& settings);
    ~SettingsLanguage() override;

    // Puts a new choice into force in both skins. A language that does not
    // load leaves the one in use, and the settings keep its name.
    void save(Settings& settings);

private:
    // The main window's skin: that of the settings form's owner.
    skinner::Properties& main_skin() const;
    skinner::ControlComboBoxStringReadonly m_language;
};
