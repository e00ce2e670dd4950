#include "app/explorer/ControlListFilesWithHeader.h"

#include "skinner/graphics/Canvas.h"

void ControlListFilesWithHeader::paint_header_item(
    std::int32_t column, skinner::Canvas& canvas, skinner::Point position, skinner::Size size)
{
    const skinner::ButtonLook& look = get_header_look();
    look.picture.draw(canvas, position, size);
    std::u16string_view key;
    if (column == column_name)
        key = u"ControlListFilesHeaderName";
    else if (column == column_date)
        key = u"ControlListFilesHeaderDate";
    else if (column == column_size)
        key = u"ControlListFilesHeaderSize";
    else
        return;
    canvas.draw_text_ellipsis(look.font, look.text_color, translate(key), position, size, 0, 1);
}
