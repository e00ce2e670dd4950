#include "skinner/widgets/lists/ControlListString.h"

#include "skinner/graphics/Canvas.h"

namespace skinner {

namespace {
// Canvas text alignment: left, vertically centred.
constexpr std::int32_t text_left = 0;
constexpr std::int32_t text_vcenter = 1;
}

ControlListString::ControlListString(Container& container, std::u16string_view id, ControlMode mode)
    : ControlListGeneric(container, id, mode)
{
    m_indent = get_property_int_scaled(u"Indent", 0);
}

void ControlListString::load()
{
    ControlListGeneric::load();
    m_indent = get_property_int_scaled(u"Indent", 0);
}

void ControlListString::paint_item(std::int32_t, std::int32_t row, Canvas& canvas, Point position, Size size,
    bool selected, bool highlighted)
{
    const ButtonLook& look = get_item_look(selected, highlighted);
    look.picture.draw(canvas, position, size);
    if (row < 0 || std::size_t(row) >= items.size())
        return;
    canvas.draw_text(look.font, look.text_color, items[std::size_t(row)], { position.x + m_indent, position.y },
        { size.width - m_indent, size.height }, text_left, text_vcenter);
}

}
