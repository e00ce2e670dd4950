#pragma once

#include "skinner/widgets/buttons/ButtonLook.h"

#include <string_view>

namespace skinner {

class Control;

// The four looks of a button, one per condition.
struct ButtonLookSet {
    ButtonLook normal;
    ButtonLook pressed;
    ButtonLook highlighted;
    ButtonLook disabled;

    // Reads prefix + "Normal", "Pressed", "Highlighted" and "Disabled" of the
    // control, each a picture, a font and a colour under that key; the last
    // three default to the normal look, which defaults to no picture, no font
    // and black.
    void load(const Control& control, std::u16string_view prefix);
};

}
