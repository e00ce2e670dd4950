#include "skinner/controls/ControlComboBoxStringReadonly.h"

#include "skinner/graphics/Canvas.h"

namespace skinner {

namespace {
// Canvas text alignment: left, vertically centred.
constexpr std::int32_t text_left = 0;
constexpr std::int32_t text_vcenter = 1;
}

void ControlComboBoxStringReadonly::paint_item(
    std::int32_t row, Canvas& canvas, Point position, Size size, bool selected, bool highlighted)
{
    const List* drop_down = list();
    if (!drop_down)
        return;
    const ButtonLook& look = drop_down->get_item_look(selected, highlighted);
    look.picture.draw(canvas, position, size);
    if (row < 0 || std::size_t(row) >= items.size())
        return;
    const Point low = drop_down->get_border_min();
    const Point high = drop_down->get_border_max();
    const std::int32_t left = low.x + drop_down->indent();
    canvas.draw_text(look.font, look.text_color, items[std::size_t(row)], { position.x + left, position.y + low.y },
        { size.width - left - high.x, size.height - low.y - high.y }, text_left, text_vcenter);
}

bool ControlComboBoxStringReadonly::on_selection_changed(Control& sender)
{
    face().set_text(current_is_valid() ? std::u16string_view(items[std::size_t(get_current())]) : std::u16string_view());
    return ControlComboBoxGenericReadonly::on_selection_changed(sender);
}

}
