#include "platform/ui/Bitmap.h"

#include "platform/ui/DeviceContext.h"

#include <algorithm>

namespace platform {

bool Bitmap::valid_size(std::int64_t width, std::int64_t height)
{
    return width >= 1 && height >= 1 && width <= max_side && height <= max_side
        && width * height <= max_pixels;
}

std::unique_ptr<Bitmap> Bitmap::create(std::int32_t width, std::int32_t height)
{
    if (!valid_size(width, height))
        return nullptr;
    return std::unique_ptr<Bitmap>(new Bitmap(width, height));
}

Bitmap::Bitmap(std::int32_t width, std::int32_t height)
    : m_width(width)
    , m_height(height)
    , m_pixels(std::size_t(width) * std::size_t(height), 0)
{
}

Bitmap::~Bitmap()
{
    if (m_selected_into)
        m_selected_into->bitmap_destroyed(*this);
}

void Bitmap::fill(Pixel p)
{
    std::fill(m_pixels.begin(), m_pixels.end(), p);
}

}
