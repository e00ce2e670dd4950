#include "skinner/skin/Picture.h"

#include "skinner/graphics/ImageCache.h"
#include "skinner/graphics/PictureDrawing.h"

namespace skinner {

namespace {

// One axis: the source coordinate for c in the destination span [start, end).
std::int32_t map_axis(std::int32_t c, std::int32_t start, std::int32_t end, std::int32_t left,
    std::int32_t inner_left, std::int32_t inner_right, std::int32_t right, bool stretch)
{
    if (c < start || c >= end)
        return -1;
    const std::int64_t d = std::int64_t { c } - start;
    const std::int64_t near = std::int64_t { inner_left } - left;
    if (d <= near)
        return static_cast<std::int32_t>(left + d);
    const std::int64_t far_start = (std::int64_t { end } - start) - (std::int64_t { right } - inner_right);
    if (d >= far_start)
        return static_cast<std::int32_t>(inner_right + (d - far_start));
    const std::int64_t middle = std::int64_t { inner_right } - inner_left;
    if (!stretch)
        return middle == 0 ? 0 : static_cast<std::int32_t>(inner_left + (d - near) % middle);
    return static_cast<std::int32_t>(inner_left + (d - near) * middle / (far_start - near));
}

}

Picture::Picture(
    const std::u16string& base_path, const std::u16string& name, bool stretch, std::uint32_t scale)
    : m_image(find_image({ base_path, name, scale }))
    , m_inner_right(m_image->width())
    , m_inner_bottom(m_image->height())
    , m_source_right(m_image->width())
    , m_source_bottom(m_image->height())
    , m_stretch(stretch)
{
}

Picture Picture::from_file(const std::u16string& base_path, const std::u16string& name, bool stretch)
{
    return Picture(base_path, name, stretch, 1);
}

void Picture::set_source_top_left(Point point)
{
    m_source_left = point.x;
    m_source_top = point.y;
}

void Picture::set_inner_top_left(Point point)
{
    m_inner_left = point.x;
    m_inner_top = point.y;
}

void Picture::set_inner_bottom_right(Point point)
{
    m_inner_right = point.x;
    m_inner_bottom = point.y;
}

void Picture::set_source_bottom_right(Point point)
{
    m_source_right = point.x;
    m_source_bottom = point.y;
}

Size Picture::get_size() const
{
    return { m_source_right - m_source_left, m_source_bottom - m_source_top };
}

Size Picture::get_border_size() const
{
    const Size size = get_size();
    return { size.width - (m_inner_right - m_inner_left), size.height - (m_inner_bottom - m_inner_top) };
}

Point Picture::map_point(Point point, Point position, Size size) const
{
    const platform::Rect target = platform::Rect::from(position, size);
    return { map_axis(point.x, target.left, target.right, m_source_left, m_inner_left, m_inner_right,
                 m_source_right, m_stretch),
        map_axis(point.y, target.top, target.bottom, m_source_top, m_inner_top, m_inner_bottom,
            m_source_bottom, m_stretch) };
}

void Picture::draw(Canvas& canvas, Point position, Size size) const
{
    if (!m_image)
        return;
    const PictureParts parts { source_top_left(), inner_top_left(), inner_bottom_right(),
        source_bottom_right(), m_stretch };
    draw_image(canvas, *m_image, parts, platform::Rect::from(position, size));
}

bool Picture::hit_test(Point point, Point position, Size size) const
{
    if (!m_image)
        return true;
    const Point source = map_point(point, position, size);
    return m_image->is_transparent(source.x, source.y);
}

}
