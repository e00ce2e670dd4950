#include "app/settings/SettingsForm.h"

#include "model/Settings.h"

SettingsForm::SettingsForm(skinner::Form* owner, skinner::Properties& properties, Settings& settings)
    : Form(owner, properties, u"Settings")
    , m_settings(&settings)
    , m_tab(*this, u"tabSettings")
    , m_recording(m_tab, u"tabRecording", skinner::ControlMode::named, settings)
    , m_playback(m_tab, u"tabPlayback", skinner::ControlMode::named, settings)
    , m_buttons(m_tab, u"tabButtons", skinner::ControlMode::named, settings)
    , m_schedule(m_tab, u"tabSchedule", skinner::ControlMode::named, settings)
    , m_associate(m_tab, u"tabAssociate", skinner::ControlMode::named, settings)
    , m_language(m_tab, u"tabLanguage", skinner::ControlMode::named, settings)
    , m_skin(m_tab, u"tabSkin", skinner::ControlMode::named, settings)
    , m_menu(*this, u"menuMain")
{
}

SettingsForm::~SettingsForm() = default;

bool SettingsForm::on_click(skinner::Control& sender)
{
    if (sender.id() == u"btnOk")
        close();
    return true;
}

bool SettingsForm::on_command(std::u16string_view)
{
    return true;
}

bool SettingsForm::can_close()
{
    // A new language is in force before a new skin is loaded.
    m_recording.save(*m_settings);
    m_playback.save(*m_settings);
    m_language.save(*m_settings);
    m_skin.save(*m_settings);
    m_buttons.save(*m_settings);
    m_schedule.save(*m_settings);
    m_associate.save(*m_settings);
    return true;
}
