#include "platform/ui/ShellLook.h"

#include "platform/ui/DeviceContext.h"
#include "platform/ui/Font.h"
#include "platform/ui/Screen.h"

#include <map>
#include <memory>

namespace platform::look {

std::int32_t scaled(std::int32_t pixels)
{
    return pixels * screen_dpi() / 96;
}

const Font& font(bool bold)
{
    // Kept for the process's life, like the system font: fonts outlive every window.
    static auto* fonts = new std::map<std::pair<std::int32_t, bool>, std::unique_ptr<Font>>;
    auto key = std::pair(screen_dpi(), bold);
    auto& slot = (*fonts)[key];
    if (!slot)
        slot = Font::create({ -scaled(12), bold ? 700 : 400, false, false, u"Tahoma" });
    return slot ? *slot : Font::system();
}

void prepare_text(DeviceContext& dc, ColorRef color, bool bold)
{
    dc.select_font(&font(bold));
    dc.set_text_color(color);
    dc.set_background_mode(transparent_background);
}

void frame_rect(DeviceContext& dc, const Rect& r, ColorRef color)
{
    if (r.empty())
        return;
    Point corners[] = { { r.left, r.top }, { r.right - 1, r.top }, { r.right - 1, r.bottom - 1 },
        { r.left, r.bottom - 1 }, { r.left, r.top } };
    dc.polyline(corners, color);
    dc.fill_rect({ r.left, r.top, r.left + 1, r.top + 1 }, color);
}

void arrow(DeviceContext& dc, const Rect& r, Arrow direction, ColorRef color)
{
    std::int32_t half = std::max(2, std::min(r.width(), r.height()) / 4);
    Point c { r.left + r.width() / 2, r.top + r.height() / 2 };
    for (std::int32_t i = 0; i < half; ++i) {
        std::int32_t extent = half - 1 - i;
        switch (direction) {
        case Arrow::right:
            dc.fill_rect(
                { c.x - half / 2 + i, c.y - extent, c.x - half / 2 + i + 1, c.y + extent + 1 }, color);
            break;
        case Arrow::left:
            dc.fill_rect(
                { c.x + half / 2 - i, c.y - extent, c.x + half / 2 - i + 1, c.y + extent + 1 }, color);
            break;
        case Arrow::down:
            dc.fill_rect(
                { c.x - extent, c.y - half / 2 + i, c.x + extent + 1, c.y - half / 2 + i + 1 }, color);
            break;
        case Arrow::up:
            dc.fill_rect(
                { c.x - extent, c.y + half / 2 - i, c.x + extent + 1, c.y + half / 2 - i + 1 }, color);
            break;
        }
    }
}

void check_mark(DeviceContext& dc, const Rect& r, ColorRef color)
{
    std::int32_t s = std::max(3, std::min(r.width(), r.height()) / 3);
    Point c { r.left + r.width() / 2, r.top + r.height() / 2 };
    for (std::int32_t thick = 0; thick < std::max(1, s / 3); ++thick) {
        Point stroke[] = { { c.x - s, c.y + thick }, { c.x - s / 3, c.y + s * 2 / 3 + thick },
            { c.x + s + 1, c.y - s * 2 / 3 + thick - 1 } };
        dc.polyline(stroke, color);
    }
}

}
