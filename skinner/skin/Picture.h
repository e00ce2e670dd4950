#pragma once

#include "skinner/graphics/Canvas.h"
#include "skinner/graphics/Image.h"
#include "skinner/graphics/Point.h"
#include "skinner/graphics/Size.h"

#include <cstdint>
#include <memory>
#include <string>

namespace skinner {

// A part of a shared image with fixed borders and a middle zone that is
// tiled or stretched to fill any destination. Copies share the image.
// Coordinates are image pixels: the used part runs from the source top-left
// to the source bottom-right (exclusive), the middle zone from the inner
// top-left to the inner bottom-right.
class Picture {
public:
    // The empty picture: no image, everything 0.
    Picture() = default;
    // The whole image of the picture file (the program-wide image cache loads it once).
    Picture(const std::u16string& base_path, const std::u16string& name, bool stretch, std::uint32_t scale);
    static Picture from_file(const std::u16string& base_path, const std::u16string& name, bool stretch);

    void set_source_top_left(Point point);
    void set_inner_top_left(Point point);
    void set_inner_bottom_right(Point point);
    void set_source_bottom_right(Point point);

    void set_stretch(bool stretch) { m_stretch = stretch; }

    Point source_top_left() const { return { m_source_left, m_source_top }; }

    Point inner_top_left() const { return { m_inner_left, m_inner_top }; }

    Point inner_bottom_right() const { return { m_inner_right, m_inner_bottom }; }

    Point source_bottom_right() const { return { m_source_right, m_source_bottom }; }

    bool stretch() const { return m_stretch; }

    bool is_empty() const { return !m_image; }

    // The used part's size.
    Size get_size() const;
    // The fixed part: the used size less the middle zone.
    Size get_border_size() const;

    // Null for the empty picture.
    const Image* get_image() const { return m_image.get(); }

    // The source point that a destination point of the rectangle (position,
    // size) shows; -1 in an axis where the point lies outside the rectangle.
    Point map_point(Point point, Point position, Size size) const;

    // Draws the picture into the rectangle: borders 1:1, the middle zone
    // stretched or tiled, through the image's mask or alpha companion.
    // Nothing for the empty picture.
    void draw(Canvas& canvas, Point position, Size size) const;
    // Whether the picture drawn into the rectangle is transparent at the
    // point: true for the empty picture and outside the rectangle, false
    // where the image has no mask, else true where its mask is black.
    // Controls hit where this is false.
    bool hit_test(Point point, Point position, Size size) const;

private:
    std::shared_ptr<const Image> m_image;
    std::int32_t m_source_left = 0;
    std::int32_t m_source_top = 0;
    std::int32_t m_inner_left = 0;
    std::int32_t m_inner_top = 0;
    std::int32_t m_inner_right = 0;
    std::int32_t m_inner_bottom = 0;
    std::int32_t m_source_right = 0;
    std::int32_t m_source_bottom = 0;
    bool m_stretch = false;
};

}
