#include "app/settings/SettingsRecording.h"

#include "skinner/widgets/combos/ComboRow.h"
#include "model/Settings.h"

namespace {

// Every row is mono. ADPCM rows keep 16 bits: the recorder captures 16-bit
// PCM, which the encoder packs. The bitrates are those the texts show.
const SettingsRecording::Format format_table[] = {
    { u"GSM", 1, 16, 8000, 13000, u"GSM 8kHz; 16bit, mono" },
    { u"mp3", 1, 16, 8000, 16000, u"mp3 8kHz; 16bit, mono (16 kbps)" },
    { u"mp3", 1, 16, 11025, 16000, u"mp3 11kHz; 16bit, mono (16 kbps)" },
    { u"mp3", 1, 16, 11025, 32000, u"mp3 11kHz; 16bit, mono (32 kbps)" },
    { u"mp3", 1, 16, 22050, 32000, u"mp3 22kHz; 16bit, mono (32 kbps)" },
    { u"mp3", 1, 16, 44100, 64000, u"mp3 44kHz; 16bit, mono (64 kbps)" },
    { u"mp3", 1, 16, 44100, 96000, u"mp3 44kHz; 16bit, mono (96 kbps)" },
    { u"ADPCM", 1, 16, 11025, 44000, u"ADPCM 11kHz; 4bit, mono (44 kbps)" },
    { u"ADPCM", 1, 16, 22050, 88000, u"ADPCM 22kHz; 4bit, mono (88 kbps)" },
    { u"ADPCM", 1, 16, 44100, 176000, u"ADPCM 44kHz; 4bit, mono (176 kbps)" },
    { u"PCM", 1, 8, 11025, 88000, u"wav 11kHz; 8bit, mono (88 kbps)" },
    { u"PCM", 1, 16, 11025, 176000, u"wav 11kHz; 16bit, mono (176 kbps)" },
    { u"PCM", 1, 8, 22050, 176000, u"wav 22kHz; 8bit, mono (176 kbps)" },
    { u"PCM", 1, 16, 22050, 344000, u"wav 22kHz; 16bit, mono (344 kbps)" },
    { u"PCM", 1, 16, 44100, 688000, u"wav 44kHz; 16bit, mono (688 kbps)" },
};

}

// Format combo box

SettingsRecording::FormatCombo::FormatCombo(skinner::Container& container, std::u16string_view id,
    skinner::ControlMode mode)
    : ControlComboBoxGenericReadonly(container, id, mode)
{
    items.assign(std::begin(format_table), std::end(format_table));
}

const SettingsRecording::Format& SettingsRecording::FormatCombo::current_format() const
{
    return items[current_is_valid() ? std::size_t(get_current()) : 0];
}

void SettingsRecording::FormatCombo::paint_item(std::int32_t row, skinner::Canvas& canvas, skinner::Point position,
    skinner::Size size, bool selected, bool highlighted)
{
    const std::u16string_view text
        = row >= 0 && std::size_t(row) < items.size() ? std::u16string_view(items[std::size_t(row)].text) : u"";
    skinner::paint_combo_row(list(), text, canvas, position, size, selected, highlighted);
}

bool SettingsRecording::FormatCombo::on_selection_changed(skinner::Control& sender)
{
    if (&sender == this)
        face().set_text(current_format().text);
    return ControlComboBoxGenericReadonly::on_selection_changed(sender);
}

// Page

SettingsRecording::SettingsRecording(
    skinner::ControlTab& tab, std::u16string_view id, skinner::ControlMode mode, Settings& settings)
    : ControlTabElement(tab, id, mode)
    , m_formats(*get_container(), u"cbFormats")
    , m_default_folder(*get_container(), u"chkDefaultDir")
    , m_folder(*get_container(), u"cbDirectory")
    , m_date_folder(*get_container(), u"chkCreateDateFolder")
    , m_prefix(*get_container(), u"editPrefix")
    , m_include_date(*get_container(), u"chkIncludeDate")
    , m_turn_off(*get_container(), u"cbTurnOff")
{
    m_prefix.set_text(settings.prefix);
    m_folder.set_path(u"/");
    m_folder.path_frame().set_text(settings.folder);
    m_default_folder.set_checked(settings.default_folder);
    m_date_folder.set_checked(settings.date_folder);
    m_include_date.set_checked(settings.include_date);
    m_formats.set_current(find_format(settings));
    m_turn_off.select_seconds(settings.record_turn_off);
    update_enabling();
}

SettingsRecording::~SettingsRecording() = default;

std::span<const SettingsRecording::Format> SettingsRecording::formats()
{
    return format_table;
}

std::int32_t SettingsRecording::find_format(const Settings& settings)
{
    for (std::size_t row = 0; row < std::size(format_table); ++row) {
        const Format& format = format_table[row];
        if (std::int64_t(format.bits) == settings.bits && std::int64_t(format.channels) == settings.channels
            && format.codec == settings.codec && std::int64_t(format.samples) == settings.samples
            && std::int64_t(format.bitrate) == settings.bitrate)
            return std::int32_t(row);
    }
    return default_format;
}

bool SettingsRecording::on_click(skinner::Control& sender)
{
    if (&sender != &m_default_folder && &sender != &m_date_folder)
        return ControlTabElement::on_click(sender);
    update_enabling();
    return true;
}

void SettingsRecording::update_enabling()
{
    const bool own_folder = m_default_folder.is_checked();
    m_folder.set_enabled(own_folder);
    m_date_folder.set_enabled(own_folder);
}

void SettingsRecording::save(Settings& settings)
{
    settings.prefix = m_prefix.get_text();
    settings.folder = m_folder.get_path();
    settings.default_folder = m_default_folder.is_checked();
    settings.date_folder = m_date_folder.is_checked();
    settings.include_date = m_include_date.is_checked();
    const Format& format = m_formats.current_format();
    settings.codec = format.codec;
    settings.channels = int(format.channels);
    settings.bits = int(format.bits);
    settings.samples = int(format.samples);
    settings.bitrate = int(format.bitrate);
    settings.record_turn_off = m_turn_off.selected_seconds();
}
