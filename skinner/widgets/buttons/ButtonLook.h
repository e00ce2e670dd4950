#pragma once

#include "skinner/graphics/Color.h"
#include "skinner/graphics/Font.h"
#include "skinner/skin/Picture.h"

namespace skinner {

// One look of a button: its stretched background, text font and text colour.
struct ButtonLook {
    Picture picture;
    Font font;
    Color text_color {};
};

}
