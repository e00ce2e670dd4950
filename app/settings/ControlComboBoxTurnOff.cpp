#include "app/settings/ControlComboBoxTurnOff.h"

#include "liba/StringTranslator.h"
#include "skinner/widgets/combos/ComboRow.h"
#include "skinner/widgets/combos/List.h"
#include "skinner/graphics/Canvas.h"
#include "skinner/skin/Properties.h"

using liba::literals::operator""_key;

namespace {

struct Choice {
    std::u16string_view key;
    std::int32_t seconds;
};

constexpr Choice choices[] {
    { u"TurnOffTimeNever"_key, 0 },
    { u"TurnOffTime2sec"_key, 2 },
    { u"TurnOffTime5sec"_key, 5 },
    { u"TurnOffTime10sec"_key, 10 },
    { u"TurnOffTime30sec"_key, 30 },
    { u"TurnOffTime1min"_key, 60 },
};

}

ControlComboBoxTurnOff::ControlComboBoxTurnOff(
    skinner::Container& container, std::u16string_view id, skinner::ControlMode mode)
    : ControlComboBoxGenericReadonly(container, id, mode)
{
    for (const Choice& choice : choices)
        items.push_back({ get_properties().translate(choice.key), choice.seconds });
}

ControlComboBoxTurnOff::~ControlComboBoxTurnOff() = default;

void ControlComboBoxTurnOff::select_seconds(std::int32_t seconds)
{
    std::int32_t index = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].seconds >= seconds) {
            index = static_cast<std::int32_t>(i);
            break;
        }
    }
    set_current(index);
}

std::int32_t ControlComboBoxTurnOff::selected_seconds() const
{
    if (current_is_valid())
        return items[std::size_t(get_current())].seconds;
    return items.empty() ? 0 : items.front().seconds;
}

void ControlComboBoxTurnOff::paint_item(std::int32_t row, skinner::Canvas& canvas, skinner::Point position,
    skinner::Size size, bool selected, bool highlighted)
{
    const std::u16string_view text
        = row >= 0 && std::size_t(row) < items.size() ? std::u16string_view(items[std::size_t(row)].text) : u"";
    // Laid out as every other combo box's rows, inside the list's borders and indent.
    skinner::paint_combo_row(list(), text, canvas, position, size, selected, highlighted);
}

bool ControlComboBoxTurnOff::on_selection_changed(skinner::Control& sender)
{
    if (current_is_valid())
        face().set_text(items[std::size_t(get_current())].text);
    else if (!items.empty())
        face().set_text(items.front().text);
    return ControlComboBoxGenericReadonly::on_selection_changed(sender);
}
