#include "skinner/widgets/combos/ComboRow.h"

#include "skinner/graphics/Canvas.h"

namespace skinner {

namespace {
// Canvas text alignment: left, vertically centred.
constexpr std::int32_t text_left = 0;
constexpr std::int32_t text_vcenter = 1;
}

void paint_combo_row(const List* list, std::u16string_view text, Canvas& canvas, Point position, Size size,
    bool selected, bool highlighted)
{
    if (!list)
        return;
    const ButtonLook& look = list->get_item_look(selected, highlighted);
    look.picture.draw(canvas, position, size);
    const Point low = list->get_border_min();
    const Point high = list->get_border_max();
    const std::int32_t left = low.x + list->indent();
    canvas.draw_text(look.font, look.text_color, text, { position.x + left, position.y + low.y },
        { size.width - left - high.x, size.height - low.y - high.y }, text_left, text_vcenter);
}

}
