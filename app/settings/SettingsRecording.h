#pragma once

#include "app/settings/ControlComboBoxTurnOff.h"
#include "skinner/controls/ControlCheckBox.h"
#include "skinner/controls/ControlComboBoxFolderTree.h"
#include "skinner/controls/ControlComboBoxGenericReadonly.h"
#include "skinner/controls/ControlEdit.h"
#include "skinner/controls/ControlTabElement.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class Settings;

// The first settings page: how new recordings are made (format, folder,
// file name) and when the display goes off while recording.
class SettingsRecording : public skinner::ControlTabElement {
public:
    // One recording format the user can choose.
    struct Format {
        std::u16string codec; // the record chain's format name
        std::uint32_t channels;
        std::uint32_t bits; // of the PCM the recorder captures
        std::uint32_t samples; // per second
        std::uint32_t bitrate; // bits per second
        std::u16string text;
    };

    // The table of formats, shown by their texts as they are.
    class FormatCombo : public skinner::ControlComboBoxGenericReadonly<std::vector<Format>> {
    public:
        FormatCombo(skinner::Container& container, std::u16string_view id,
            skinner::ControlMode mode = skinner::ControlMode::named);

        void paint_item(std::int32_t row, skinner::Canvas& canvas, skinner::Point position, skinner::Size size,
            bool selected, bool highlighted) override;
        // No current row shows row 0.
        bool on_selection_changed(skinner::Control& sender) override;

        // The current row, row 0 without one.
        const Format& current_format() const;
    };

    // Row 4, the fallback for a format the table lacks.
    static constexpr std::int32_t default_format = 4;

    SettingsRecording(skinner::ControlTab& tab, std::u16string_view id, skinner::ControlMode mode, Settings& settings);
    ~SettingsRecording() override;

    bool on_click(skinner::Control& sender) override;
    void save(Settings& settings);

    // The fifteen formats, in the order of the combo box.
    static std::span<const Format> formats();
    // The first row that matches the recording format exactly, else the default.
    static std::int32_t find_format(const Settings& settings);

private:
    void update_enabling();

    FormatCombo m_formats;
    skinner::ControlCheckBox m_default_folder;
    skinner::ControlComboBoxFolderTree m_folder;
    skinner::ControlCheckBox m_date_folder;
    skinner::ControlEdit m_prefix;
    skinner::ControlCheckBox m_include_date;
    ControlComboBoxTurnOff m_turn_off;
};
