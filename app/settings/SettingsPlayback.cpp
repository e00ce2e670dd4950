#include "app/settings/SettingsPlayback.h"

#include "liba/StringTranslator.h"
#include "model/Settings.h"

using liba::literals::operator""_key;

namespace {

// The item index is the stored play mode: the order is the document's numbering.
constexpr std::u16string_view mode_keys[] = {
    u"PlaybackModeSingleFile"_key,
    u"PlaybackModeSingleFileRepeat"_key,
    u"PlaybackModeAllFilesByOrder"_key,
    u"PlaybackModeAllFilesRepeating"_key,
    u"PlaybackModeShuffle"_key,
};

}

SettingsPlayback::SettingsPlayback(
    skinner::ControlTab& tab, std::u16string_view id, skinner::ControlMode mode, Settings& settings)
    : ControlTabElement(tab, id, mode)
    , m_mode(*get_container(), u"cbMode")
    , m_turn_off(*get_container(), u"cbTurnOff")
{
    for (std::u16string_view key : mode_keys)
        m_mode.items.push_back(m_mode.translate(key));
    m_mode.set_current(static_cast<std::int32_t>(settings.play_mode));
    m_turn_off.select_seconds(settings.play_turn_off);
}

SettingsPlayback::~SettingsPlayback() = default;

void SettingsPlayback::save(Settings& settings)
{
    const std::int32_t current = m_mode.get_current();
    if (current >= 0 && std::size_t(current) < std::size(mode_keys))
        settings.play_mode = static_cast<PlayMode>(current);
    settings.play_turn_off = m_turn_off.selected_seconds();
}
