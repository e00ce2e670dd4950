#pragma once

#include "app/settings/SettingsAssociate.h"
#include "app/settings/SettingsButtons.h"
#include "app/settings/SettingsLanguage.h"
#include "app/settings/SettingsPlayback.h"
#include "app/settings/SettingsRecording.h"
#include "app/settings/SettingsSchedule.h"
#include "app/settings/SettingsSkin.h"
#include "skinner/widgets/tabs/ControlTab.h"
#include "skinner/core/Form.h"
#include "skinner/menus/ControlMenuMain.h"

class Settings;

// The settings dialog: seven pages over the caller's copy of the settings.
// However it closes, every page writes its fields into the copy, which the
// caller then applies; the form never touches the document.
class SettingsForm : public skinner::Form {
public:
    // The owner is the main form, whose skin the language and skin pages
    // change; without one they change the given properties only.
    SettingsForm(skinner::Form* owner, skinner::Properties& properties, Settings& settings);
    ~SettingsForm() override;

    bool on_click(skinner::Control& sender) override;
    // Named commands end here.
    bool on_command(std::u16string_view command) override;
    // Saves the pages: recording, playback, language, skin, buttons,
    // schedule, associations, in that order.
    bool can_close() override;

    skinner::ControlTab& tab() { return m_tab; }
    SettingsSchedule& schedule_page() { return m_schedule; }
    SettingsSkin& skin_page() { return m_skin; }

private:
    Settings* m_settings;
    skinner::ControlTab m_tab;
    SettingsRecording m_recording;
    SettingsPlayback m_playback;
    SettingsButtons m_buttons;
    SettingsSchedule m_schedule;
    SettingsAssociate m_associate;
    SettingsLanguage m_language;
    SettingsSkin m_skin;
    skinner::ControlMenuMain m_menu;
};
