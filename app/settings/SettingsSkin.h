#pragma once

#include "app/settings/MySkinFinder.h"
#include "skinner/widgets/combos/ControlComboBoxStringReadonly.h"
#include "skinner/widgets/text/ControlFrame.h"
#include "skinner/widgets/tabs/ControlTabElement.h"

#include <string>
#include <vector>

class Settings;

namespace skinner {
class Properties;
}

// The seventh settings page: the skin of the main window and the skin of the
// Today item, each with a preview.
class SettingsSkin : public skinner::ControlTabElement {
public:
    SettingsSkin(skinner::ControlTab& tab, std::u16string_view id, skinner::ControlMode mode, Settings& settings);
    ~SettingsSkin() override;

    bool on_selection_changed(skinner::Control& sender) override;
    // Puts new choices into force. A main skin that does not load leaves the
    // one in use (the user is told so), and the settings keep its path.
    void save(Settings& settings);

    // The default Today skin, offered whether it exists or not.
    static std::u16string default_today_skin();
    // The Today skin in force, the default when the registry does not say.
    static std::u16string today_skin_in_force();

    const std::vector<std::u16string>& main_skins() const { return m_finder.main_skins; }
    const std::vector<std::u16string>& today_skins() const { return m_finder.today_skins; }

private:
    // The main window's skin: that of the settings form's owner.
    skinner::Properties& main_skin() const;
    void show_preview(const std::vector<std::u16string>& list, std::int32_t index, skinner::ControlFrame& frame);
    void save_main_skin(Settings& settings);
    void save_today_skin();

    skinner::ControlComboBoxStringReadonly m_main;
    skinner::ControlComboBoxStringReadonly m_today;
    skinner::ControlFrame m_main_preview;
    skinner::ControlFrame m_today_preview;
    MySkinFinder m_finder;
};
