#include "skinner/widgets/combos/ControlComboBoxStringReadonly.h"

#include "skinner/widgets/combos/ComboRow.h"
#include "skinner/graphics/Canvas.h"

namespace skinner {

void ControlComboBoxStringReadonly::paint_item(
    std::int32_t row, Canvas& canvas, Point position, Size size, bool selected, bool highlighted)
{
    const std::u16string_view text
        = row >= 0 && std::size_t(row) < items.size() ? std::u16string_view(items[std::size_t(row)]) : u"";
    paint_combo_row(list(), text, canvas, position, size, selected, highlighted);
}

bool ControlComboBoxStringReadonly::on_selection_changed(Control& sender)
{
    face().set_text(current_is_valid() ? std::u16string_view(items[std::size_t(get_current())]) : std::u16string_view());
    return ControlComboBoxGenericReadonly::on_selection_changed(sender);
}

}
