#include "skinner/widgets/pictures/ControlPicture.h"

#include "skinner/core/Alignment.h"

#include <algorithm>

namespace skinner {

namespace {

// Where a length goes inside the span by the alignment.
std::int32_t placed(std::int32_t start, std::int32_t span, std::int32_t length, std::int32_t alignment)
{
    if (alignment == align_left)
        return start;
    if (alignment == align_right)
        return start + span - length;
    return start + (span - length) / 2;
}

}

ControlPicture::ControlPicture(Container& container, std::u16string_view name, ControlMode mode)
    : ControlButton(container, name, mode)
{
    set_want_focus(false);
    load_picture();
}

ControlPicture::~ControlPicture() = default;

void ControlPicture::load()
{
    ControlButton::load();
    load_picture();
}

void ControlPicture::load_picture()
{
    parse_h_alignment(get_property_string(u"PictureHAlignment", u""), m_picture_h_alignment);
    parse_v_alignment(get_property_string(u"PictureVAlignment", u""), m_picture_v_alignment);
    m_picture = get_property_picture(u"Picture", m_picture);
}

void ControlPicture::set_picture(const Picture& picture)
{
    m_picture = picture;
    invalidate();
}

void ControlPicture::paint(Canvas& canvas, Point, Size)
{
    const Size picture = m_picture.get_size();
    if (picture.width == 0 || picture.height == 0)
        return;
    const Size box = size();
    double fx = 1.0, fy = 1.0;
    if (picture.width > box.width)
        fx = double(box.width) / picture.width;
    if (picture.height > box.height)
        fy = double(box.height) / picture.height;
    const double f = std::min(fx, fy);
    const Size drawn { static_cast<std::int32_t>(picture.width * f),
        static_cast<std::int32_t>(picture.height * f) };
    const Point at { placed(position().x, box.width, drawn.width, m_picture_h_alignment),
        placed(position().y, box.height, drawn.height, m_picture_v_alignment) };
    m_picture.draw(canvas, at, drawn);
}

}
