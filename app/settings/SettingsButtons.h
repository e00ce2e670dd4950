#pragma once

#include "skinner/widgets/buttons/ControlCheckBox.h"
#include "skinner/widgets/combos/ControlComboBoxStringReadonly.h"
#include "skinner/widgets/lists/ControlListGeneric.h"
#include "skinner/widgets/tabs/ControlTabElement.h"
#include "skinner/widgets/lists/GridSelectionStrategySingleRow.h"
#include "skinner/skin/Picture.h"
#include "skinner/system/HardwareKeys.h"

#include <cstdint>
#include <string>
#include <vector>

class Settings;

namespace platform {
class Icon;
}

// The third settings page: an action for each hardware button and for the
// joystick's two sideways directions, and whether the buttons go back to
// the system while the program is in the background.
class SettingsButtons : public skinner::ControlTabElement {
public:
    enum class Kind : std::int32_t { hardware_key = 0, joystick_left = 4, joystick_right = 5 };

    // One row of the button list.
    struct Button {
        std::u16string name;
        std::int32_t action = 0; // index into the action table
        const platform::Icon* icon = nullptr; // the hardware key's; none for the joystick
        skinner::Picture picture;
        Kind kind = Kind::hardware_key;
    };

    // Icon, name and action of each button; one row is selected.
    class ListButtons : public skinner::ControlListGeneric<std::vector<Button>>,
                        public skinner::GridSelectionStrategySingleRow {
    public:
        ListButtons(skinner::Container& container, std::u16string_view id, const std::vector<std::u16string>& texts,
            skinner::ControlMode mode = skinner::ControlMode::named);

        std::int32_t get_column_count() const override { return 3; }
        std::int32_t get_column_width(std::int32_t column) const override;
        void paint_item(std::int32_t column, std::int32_t row, skinner::Canvas& canvas, skinner::Point position,
            skinner::Size size, bool selected, bool highlighted) override;
        void load() override;

    private:
        void load_widths();

        const std::vector<std::u16string>& m_texts;
        std::int32_t m_icon_width = 0;
        std::int32_t m_icon_resolution = 0;
        std::int32_t m_name_width = 0;
    };

    SettingsButtons(skinner::ControlTab& tab, std::u16string_view id, skinner::ControlMode mode, Settings& settings);
    ~SettingsButtons() override;

    bool on_selection_changed(skinner::Control& sender) override;
    void load() override;
    void save(Settings& settings);

private:
    std::int32_t action_of(std::u16string_view command) const;
    void load_pictures();

    skinner::ControlCheckBox m_unmap;
    skinner::ControlComboBoxStringReadonly m_assign;
    std::vector<std::u16string> m_commands;
    ListButtons m_list;
    skinner::HardwareKeys m_keys;
    skinner::Picture m_joy_left;
    skinner::Picture m_joy_right;
};
