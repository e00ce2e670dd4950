#include "skinner/widgets/text/ControlPathFrame.h"

#include "liba/Path.h"
#include "skinner/core/Alignment.h"
#include "skinner/graphics/Canvas.h"

#include <algorithm>
#include <vector>

namespace skinner {

ControlPathFrame::ControlPathFrame(Container& container, std::u16string_view name, ControlMode mode)
    : ControlFrame(container, name, mode)
{
    // The frame laid its text out before this class took part.
    update_text_layout(text());
}

ControlPathFrame::~ControlPathFrame() = default;

void ControlPathFrame::update_text_layout(std::u16string_view path)
{
    if (path.empty() || liba::paths_equal(path, u"/"))
        ControlFrame::update_text_layout(translate(u"MyDevice", u"My Device"));
    else
        ControlFrame::update_text_layout(path);
}

void ControlPathFrame::paint(Canvas& canvas, Point area_position, Size area_size)
{
    picture().draw(canvas, position(), size());
    std::vector<std::int32_t> heights;
    std::int64_t total = 0;
    for (const std::u16string& line : lines()) {
        heights.push_back(measure_text(font(), line).height);
        total += heights.back();
    }
    const Point low = border_min();
    const Point high = border_max();
    std::int64_t y = position().y + low.y;
    if (v_alignment() == align_vcenter)
        y += std::max<std::int64_t>((size().height - total) / 2, 0);
    else if (v_alignment() == align_bottom)
        y = std::int64_t(position().y) + size().height - high.y - total;
    const std::int32_t width = std::max(size().width - low.x - high.x, 0);
    canvas.push_clip(position(), size());
    for (std::size_t i = 0; i < lines().size(); ++i) {
        canvas.draw_text_ellipsis_start(font(), color(), lines()[i], { position().x + low.x, std::int32_t(y) },
            { width, heights[i] }, h_alignment(), align_vcenter);
        y += heights[i];
    }
    canvas.pop_clip();
    Control::paint(canvas, area_position, area_size);
}

}
