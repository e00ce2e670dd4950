#include "skinner/graphics/CanvasImpl.h"

namespace skinner {

CanvasImpl::CanvasImpl(platform::DeviceContext& dc, Point position, Size size)
    : m_dc(dc)
    , m_clips { platform::Rect::from(position, size) }
{
    apply_clip();
}

CanvasImpl::~CanvasImpl() = default;

void CanvasImpl::push_clip(Point position, Size size)
{
    const platform::Rect& top = m_clips.back();
    const platform::Rect wanted = platform::Rect::from(position, size);
    const Point left_top = component_max({ top.left, top.top }, { wanted.left, wanted.top });
    Point right_bottom = component_min({ top.right, top.bottom }, { wanted.right, wanted.bottom });
    if (right_bottom.x < left_top.x || right_bottom.y < left_top.y)
        right_bottom = left_top;
    m_clips.push_back({ left_top.x, left_top.y, right_bottom.x, right_bottom.y });
    apply_clip();
}

void CanvasImpl::pop_clip()
{
    if (m_clips.size() > 1)
        m_clips.pop_back();
    apply_clip();
}

void CanvasImpl::apply_clip()
{
    m_dc.select_clip(std::nullopt);
    m_dc.intersect_clip(m_clips.back());
}

}
