#include "skinner/graphics/Image.h"

namespace skinner {

Image::Image(std::int32_t width, std::int32_t height, std::uint32_t scale, std::vector<std::uint8_t> pixels)
    : m_width(width)
    , m_height(height)
    , m_scale(scale)
    , m_pixels(std::move(pixels))
{
}

}
