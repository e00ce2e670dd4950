#include "app/settings/SettingsAssociate.h"

#include "model/Settings.h"

SettingsAssociate::SettingsAssociate(
    skinner::ControlTab& tab, std::u16string_view id, skinner::ControlMode mode, Settings& settings)
    : ControlTabElement(tab, id, mode)
    , m_wav(*get_container(), u"chkWAV")
    , m_mp3(*get_container(), u"chkMP3")
    , m_m3u(*get_container(), u"chkM3U")
    , m_ogg(*get_container(), u"chkOGG")
    , m_wma(*get_container(), u"chkWMA")
{
    // A type is this program's while the command it replaced is kept.
    m_wav.set_checked(!settings.associate_wav_cmd.empty());
    m_mp3.set_checked(!settings.associate_mp3_cmd.empty());
    m_m3u.set_checked(!settings.associate_m3u_cmd.empty());
    m_ogg.set_checked(!settings.associate_ogg_cmd.empty());
    m_wma.set_checked(!settings.associate_wma_cmd.empty());
}

SettingsAssociate::~SettingsAssociate() = default;

void SettingsAssociate::save(Settings& settings)
{
    settings.apply_associations(
        m_wav.is_checked(), m_mp3.is_checked(), m_m3u.is_checked(), m_ogg.is_checked(), m_wma.is_checked());
}
