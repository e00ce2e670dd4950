#include "app/settings/SettingsButtons.h"

#include "liba/StringTranslator.h"
#include "model/Settings.h"
#include "platform/ui/Icon.h"
#include "skinner/graphics/Canvas.h"
#include "skinner/core/Form.h"

#include <algorithm>

using liba::literals::operator""_key;

namespace {

struct Action {
    std::u16string_view key;
    std::u16string_view command;
};

// The action's index is what a row holds; the settings keep the command.
constexpr Action actions[] = {
    { u"SettingsButtonsNone"_key, u"" },
    { u"SettingsButtonsPlay"_key, u"Play" },
    { u"SettingsButtonsRecord"_key, u"Record" },
    { u"SettingsButtonsStop"_key, u"Stop" },
    { u"SettingsButtonsPrevious"_key, u"Prev" },
    { u"SettingsButtonsNext"_key, u"Next" },
    { u"SettingsButtonsNewBookmark"_key, u"NewBookmark" },
    { u"SettingsButtonsPlayStop"_key, u"PlayStop" },
    { u"SettingsButtonsRecordStop"_key, u"RecordStop" },
    { u"SettingsButtonsForward"_key, u"Forward" },
    { u"SettingsButtonsRewind"_key, u"Rewind" },
    { u"SettingsButtonsVolumeUp"_key, u"VolumeUp" },
    { u"SettingsButtonsVolumeDown"_key, u"VolumeDown" },
};

// Canvas text alignment: left, vertically centred.
constexpr std::int32_t text_left = 0;
constexpr std::int32_t text_vcenter = 1;

}

// Button list

SettingsButtons::ListButtons::ListButtons(skinner::Container& container, std::u16string_view id,
    const std::vector<std::u16string>& texts, skinner::ControlMode mode)
    : ControlListGeneric(container, id, mode)
    , m_texts(texts)
{
    load_widths();
    refresh();
}

void SettingsButtons::ListButtons::load()
{
    ControlListGeneric::load();
    load_widths();
    refresh();
}

void SettingsButtons::ListButtons::load_widths()
{
    m_icon_width = get_property_int_scaled(u"IconWidth", 0);
    m_icon_resolution = get_property_int_scaled(u"IconResolution", 0);
    m_name_width = get_property_int_scaled(u"NameWidth", 0);
}

std::int32_t SettingsButtons::ListButtons::get_column_width(std::int32_t column) const
{
    return column == 0 ? m_icon_width : column == 1 ? m_name_width : -1;
}

void SettingsButtons::ListButtons::paint_item(std::int32_t column, std::int32_t row, skinner::Canvas& canvas,
    skinner::Point position, skinner::Size size, bool selected, bool highlighted)
{
    const skinner::ButtonLook& look = get_item_look(selected, highlighted);
    look.picture.draw(canvas, position, size);
    if (row < 0 || std::size_t(row) >= items.size())
        return;
    const Button& button = items[std::size_t(row)];
    if (column == 0) {
        const std::int32_t left = position.x + (size.width - m_icon_resolution) / 2;
        if (button.icon)
            platform::draw_icon(canvas.dc(), { left, position.y }, *button.icon);
        else if (!button.picture.is_empty()) // the joystick's rows show their pictures there
            button.picture.draw(canvas, { left, position.y }, button.picture.get_size());
        return;
    }
    if (column == 1) {
        canvas.draw_text(look.font, look.text_color, button.name, position, size, text_left, text_vcenter);
        return;
    }
    if (button.action >= 0 && std::size_t(button.action) < m_texts.size())
        canvas.draw_text(look.font, look.text_color, m_texts[std::size_t(button.action)], position, size, text_left,
            text_vcenter);
}

// Page

SettingsButtons::SettingsButtons(
    skinner::ControlTab& tab, std::u16string_view id, skinner::ControlMode mode, Settings& settings)
    : ControlTabElement(tab, id, mode)
    , m_unmap(*get_container(), u"chkUnmap")
    , m_assign(*get_container(), u"cbAssign")
    , m_list(*get_container(), u"lstButtons", m_assign.items)
    , m_keys(get_form())
{
    m_unmap.set_checked(settings.unmap_when_inactive);
    for (const Action& action : actions) {
        m_assign.items.push_back(m_assign.translate(action.key));
        m_commands.emplace_back(action.command);
    }
    m_assign.set_current(0);

    for (std::size_t i = 0; i < m_keys.get_count(); ++i) {
        const auto& key = m_keys.get_key(i);
        const std::u16string_view command = i < settings.buttons.size() ? std::u16string_view(settings.buttons[i]) : u"";
        m_list.items.push_back({ key.name, action_of(command), key.icon.get(), {}, Kind::hardware_key });
    }
    m_list.items.push_back({ translate(u"SettingsButtonsJoyLeft"_key), action_of(settings.joy_left_action), nullptr,
        {}, Kind::joystick_left });
    m_list.items.push_back({ translate(u"SettingsButtonsJoyRight"_key), action_of(settings.joy_right_action), nullptr,
        {}, Kind::joystick_right });
    m_list.refresh();
    m_list.set_selected_row(0);
    load_pictures();
}

SettingsButtons::~SettingsButtons() = default;

std::int32_t SettingsButtons::action_of(std::u16string_view command) const
{
    const auto found = std::find(m_commands.begin(), m_commands.end(), command);
    return found == m_commands.end() ? 0 : std::int32_t(found - m_commands.begin());
}

void SettingsButtons::load()
{
    ControlTabElement::load();
    load_pictures();
}

void SettingsButtons::load_pictures()
{
    m_joy_left = get_property_picture(u"JoyLeft", {});
    m_joy_right = get_property_picture(u"JoyRight", {});
    for (Button& button : m_list.items)
        if (button.kind != Kind::hardware_key)
            button.picture = button.kind == Kind::joystick_left ? m_joy_left : m_joy_right;
}

bool SettingsButtons::on_selection_changed(skinner::Control& sender)
{
    const std::int32_t row = m_list.get_selected_row();
    const bool row_valid = row >= 0 && std::size_t(row) < m_list.items.size();
    if (&sender == &m_assign) {
        if (row_valid) {
            m_list.items[std::size_t(row)].action = m_assign.get_current();
            m_list.refresh();
        }
        return true;
    }
    if (&sender == &m_list) {
        if (row_valid)
            m_assign.set_current(m_list.items[std::size_t(row)].action);
        return true;
    }
    return ControlTabElement::on_selection_changed(sender);
}

void SettingsButtons::save(Settings& settings)
{
    settings.unmap_when_inactive = m_unmap.is_checked();
    settings.buttons.clear();
    for (const Button& button : m_list.items) {
        const std::u16string command
            = button.action >= 0 && std::size_t(button.action) < m_commands.size() ? m_commands[std::size_t(button.action)] : u"";
        if (button.kind == Kind::joystick_left)
            settings.joy_left_action = command;
        else if (button.kind == Kind::joystick_right)
            settings.joy_right_action = command;
        else
            settings.buttons.push_back(command);
    }
}
