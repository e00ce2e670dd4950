#include "skinner/graphics/Image.h"

namespace skinner {

Image::Image(std::unique_ptr<platform::Bitmap> color, std::unique_ptr<platform::Bitmap> mask, bool alpha,
    std::uint32_t scale)
    : m_color(std::move(color))
    , m_mask(m_color ? std::move(mask) : nullptr)
    , m_alpha(m_mask && alpha)
    , m_scale(scale)
{
}

bool Image::is_transparent(std::int32_t x, std::int32_t y) const
{
    if (x < 0 || y < 0)
        return true;
    if (!m_mask)
        return false;
    if (x >= m_mask->width() || y >= m_mask->height())
        return true;
    return (m_mask->at(x, y) & 0xFFFFFF) == 0;
}

}
