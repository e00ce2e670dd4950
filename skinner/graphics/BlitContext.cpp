#include "skinner/graphics/BlitContext.h"

#include <algorithm>

namespace skinner {

using platform::Rect;

namespace {

constexpr platform::ColorRef white = 0xFFFFFF;

}

BlitContext::BlitContext(platform::DeviceContext& destination, const platform::DeviceContext& source,
    const platform::DeviceContext* mask, std::uint32_t rop)
    : m_destination(destination)
    , m_source(source)
    , m_mask(mask)
    , m_rop(rop)
{
}

void BlitContext::blit(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
    std::int32_t source_x, std::int32_t source_y)
{
    const Rect target = Rect::from({ x, y }, { width, height });
    if (m_mask) {
        m_destination.bit_blt(target, *m_mask, { source_x, source_y }, platform::rop::source_paint);
        m_destination.bit_blt(target, m_source, { source_x, source_y }, platform::rop::source_and);
    } else {
        m_destination.bit_blt(target, m_source, { source_x, source_y }, m_rop);
    }
}

void BlitContext::stretch_blit(const Rect& destination, const Rect& source)
{
    if (destination.width() < 1 || destination.height() < 1 || source.width() < 1 || source.height() < 1)
        return;
    if (m_mask) {
        m_destination.stretch_blt(destination, *m_mask, source, platform::rop::source_paint);
        m_destination.stretch_blt(destination, m_source, source, platform::rop::source_and);
    } else {
        m_destination.stretch_blt(destination, m_source, source, m_rop);
    }
}

void BlitContext::tile(const Rect& destination, std::int32_t source_x, std::int32_t source_y,
    std::int32_t cell_width, std::int32_t cell_height)
{
    if (destination.width() < 1 || destination.height() < 1 || cell_width < 1 || cell_height < 1)
        return;
    // Only the cells that reach the clip are copied: the others would draw nothing.
    const Rect visible = destination.intersect(m_destination.clip_box());
    if (visible.empty())
        return;
    const std::int64_t first_column = (std::int64_t { visible.left } - destination.left) / cell_width;
    const std::int64_t first_row = (std::int64_t { visible.top } - destination.top) / cell_height;
    for (std::int64_t x = destination.left + first_column * cell_width; x < visible.right; x += cell_width) {
        const auto width
            = static_cast<std::int32_t>(std::min<std::int64_t>(cell_width, destination.right - x));
        for (std::int64_t y = destination.top + first_row * cell_height; y < visible.bottom;
             y += cell_height) {
            const auto height
                = static_cast<std::int32_t>(std::min<std::int64_t>(cell_height, destination.bottom - y));
            blit(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), width, height, source_x,
                source_y);
        }
    }
}

bool BlitContext::masked_out(std::int32_t source_x, std::int32_t source_y) const
{
    return m_mask && m_mask->get_pixel({ source_x, source_y }) != white;
}

void BlitContext::fill_from_pixel(const Rect& destination, std::int32_t source_x, std::int32_t source_y)
{
    if (destination.empty() || masked_out(source_x, source_y))
        return;
    if (m_rop == platform::rop::source_copy) {
        const platform::ColorRef color = m_source.get_pixel({ source_x, source_y });
        if (color != platform::invalid_color)
            m_destination.fill_rect(destination, color);
        return;
    }
    // Another operation combines the pixel with what is there, as a copy would.
    m_destination.stretch_blt(destination, m_source, Rect::from({ source_x, source_y }, { 1, 1 }), m_rop);
}

void BlitContext::line_from_pixel(
    std::int32_t x, std::int32_t y, std::int32_t length, std::int32_t source_x, std::int32_t source_y)
{
    if (length < 1 || masked_out(source_x, source_y))
        return;
    if (m_rop != platform::rop::source_copy) {
        fill_from_pixel(Rect::from({ x, y }, { 1, length }), source_x, source_y);
        return;
    }
    const platform::ColorRef color = m_source.get_pixel({ source_x, source_y });
    if (color == platform::invalid_color)
        return;
    const platform::Point line[] = { { x, y }, { x, Rect::clamp(std::int64_t { y } + length) } };
    m_destination.polyline(line, color);
}

void scale_blit(platform::DeviceContext& destination, double factor, const platform::DeviceContext& source,
    std::int32_t width, std::int32_t height, std::uint32_t rop)
{
    if (factor == 1.0) {
        destination.bit_blt({ 0, 0, width, height }, source, {}, rop);
        return;
    }
    const auto scaled = [factor](std::int32_t extent) {
        return static_cast<std::int32_t>(
            std::clamp(extent * factor, -double(platform::Rect::limit), double(platform::Rect::limit)));
    };
    destination.stretch_blt({ 0, 0, scaled(width), scaled(height) }, source, { 0, 0, width, height }, rop);
}

}
