#pragma once

#include "skinner/graphics/CanvasImpl.h"
#include "skinner/graphics/Color.h"
#include "skinner/graphics/Point.h"
#include "skinner/graphics/Size.h"

#include <cstdint>
#include <string_view>

namespace skinner {

class Font;

// What controls paint through during one paint: a handle on a CanvasImpl.
// Rectangles are (position, size); right and bottom are exclusive. Every
// drawing object lives only inside the call that uses it. GUI thread only.
class Canvas {
public:
    explicit Canvas(CanvasImpl& impl)
        : m_impl(&impl)
    {
    }

    void fill_rect(Point position, Size size, Color color);
    // A one-pixel line; the last point is not painted.
    void draw_polyline(Point from, Point to, Color color);

    // Clips nest: each push cuts the clip in force, each pop restores it.
    void push_clip(Point position, Size size) { m_impl->push_clip(position, size); }

    void pop_clip() { m_impl->pop_clip(); }

    // One line of text in the rectangle, in the colour, on a transparent
    // background, aligned by index: horizontal 0 left, 1 centre, 2 right;
    // vertical 0 top, 1 centre, 2 bottom (others count as 0). '&' is an
    // ordinary character. A font without a platform font draws nothing.
    void draw_text(const Font& font, Color color, std::u16string_view text, Point position, Size size,
        std::int32_t horizontal, std::int32_t vertical);
    // The same; a text not narrower than the rectangle becomes its longest
    // start that fits followed by an ellipsis (U+2026).
    void draw_text_ellipsis(const Font& font, Color color, std::u16string_view text, Point position,
        Size size, std::int32_t horizontal, std::int32_t vertical);
    // The same with the end of the text kept: the ellipsis, then the
    // longest end that fits.
    void draw_text_ellipsis_start(const Font& font, Color color, std::u16string_view text, Point position,
        Size size, std::int32_t horizontal, std::int32_t vertical);

    CanvasImpl& impl() { return *m_impl; }

    platform::DeviceContext& dc() { return m_impl->dc(); }

private:
    CanvasImpl* m_impl;
};

}
