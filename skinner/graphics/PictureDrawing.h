#pragma once

#include "platform/core/Geometry.h"
#include "skinner/graphics/BlitContext.h"
#include "skinner/graphics/Canvas.h"
#include "skinner/graphics/Image.h"
#include "skinner/graphics/Point.h"

#include <cstdint>

namespace skinner {

// The part of an image a picture shows (bitmap pixels): fixed borders from
// the source corners to the inner ones, and a middle zone between the inner
// corners that is stretched or tiled.
struct PictureParts {
    Point source_top_left;
    Point inner_top_left;
    Point inner_bottom_right;
    Point source_bottom_right;
    bool stretch = false;
};

// Draws the parts into the target in nine pieces: corners copied 1:1, edges
// and centre stretched or tiled. Borders wider than the target shrink, the
// far one first; an edge or a centre one scale-pixel thick is drawn as a
// solid fill of its pixel's colour.
void draw_nine_parts(
    BlitContext& blits, const PictureParts& parts, std::int32_t scale, const platform::Rect& target);

// Draws the image's parts into the canvas rectangle: through its
// transparency mask, blended by its alpha companion, or opaque. Nothing
// for an image without bitmaps or a target below one pixel.
void draw_image(Canvas& canvas, const Image& image, const PictureParts& parts, const platform::Rect& target);

}
