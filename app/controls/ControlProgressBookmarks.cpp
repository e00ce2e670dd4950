#include "app/controls/ControlProgressBookmarks.h"

#include "model/RangeMarkList.h"
#include "skinner/graphics/Canvas.h"

#include <algorithm>

ControlProgressBookmarks::ControlProgressBookmarks(
    skinner::Container& container, std::u16string_view id, skinner::ControlMode mode)
    : ControlProgress(container, id, mode)
    , m_bookmark(get_property_picture(u"Bookmark", {}))
{
}

ControlProgressBookmarks::~ControlProgressBookmarks() = default;

void ControlProgressBookmarks::load()
{
    ControlProgress::load();
    m_bookmark = get_property_picture(u"Bookmark", {});
}

void ControlProgressBookmarks::set_marks(std::int64_t total, const RangeMarkList* list)
{
    m_total = total;
    m_list = list;
    invalidate();
}

void ControlProgressBookmarks::paint(
    skinner::Canvas& canvas, skinner::Point area_position, skinner::Size area_size)
{
    paint_bar(canvas);
    if (m_list && m_total > 0) {
        const skinner::Size mark = m_bookmark.get_size();
        for (int i = 0; i < m_list->mark_count(); ++i) {
            const std::int64_t at = m_list->mark(i).position;
            if (at == 0)
                continue;
            // Marks past the end stand at the end (set_value would clamp the same way).
            const double fraction = std::clamp(double(at) / double(m_total), 0.0, 1.0);
            const auto [origin, extent] = get_draw_rects(fraction, orientation());
            m_bookmark.draw(canvas, { origin.x + extent.width / 2 - mark.width / 2, origin.y }, mark);
        }
    }
    paint_track(canvas);
    Control::paint(canvas, area_position, area_size);
}
