#include "app/settings/StandInTurnOffCombo.h"

#include "app/settings/ComboRow.h"
#include "liba/StringTranslator.h"

using liba::literals::operator""_key;

namespace {

struct Time {
    std::u16string_view key;
    std::int32_t seconds;
};

constexpr Time times[] = {
    { u"TurnOffTimeNever"_key, 0 },
    { u"TurnOffTime2sec"_key, 2 },
    { u"TurnOffTime5sec"_key, 5 },
    { u"TurnOffTime10sec"_key, 10 },
    { u"TurnOffTime30sec"_key, 30 },
    { u"TurnOffTime1min"_key, 60 },
};

}

StandInTurnOffCombo::StandInTurnOffCombo(skinner::Container& container, std::u16string_view id, skinner::ControlMode mode)
    : ControlComboBoxGenericReadonly(container, id, mode)
{
    for (const Time& time : times)
        items.emplace_back(translate(time.key), time.seconds);
}

void StandInTurnOffCombo::select_seconds(std::int32_t seconds)
{
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].second >= seconds) {
            set_current(std::int32_t(i));
            return;
        }
    set_current(0);
}

std::int32_t StandInTurnOffCombo::selected_seconds() const
{
    return current_is_valid() ? items[std::size_t(get_current())].second : 0;
}

void StandInTurnOffCombo::paint_item(std::int32_t row, skinner::Canvas& canvas, skinner::Point position,
    skinner::Size size, bool selected, bool highlighted)
{
    const std::u16string_view text = row >= 0 && std::size_t(row) < items.size() ? std::u16string_view(items[std::size_t(row)].first) : std::u16string_view();
    paint_combo_row(list(), text, canvas, position, size, selected, highlighted);
}

bool StandInTurnOffCombo::on_selection_changed(skinner::Control& sender)
{
    if (&sender == this && !items.empty())
        face().set_text(items[current_is_valid() ? std::size_t(get_current()) : 0].first);
    return ControlComboBoxGenericReadonly::on_selection_changed(sender);
}
