#pragma once

#include "skinner/graphics/Size.h"

#include <cstdint>
#include <string_view>

namespace skinner {

class SkinFile;

// Whether a devices text suits the device this program is built for: an
// empty one suits every device, else it names "P" (Pocket PC) or "S"
// (Smartphone).
bool devices_suit(std::u16string_view devices);

struct VersionMatch {
    bool ok = false;
    std::uint32_t scale = 1;
    Size size; // the size record that matched, (0, 0) when none did
};

// Whether a skin with a valid header suits the device, is the version asked
// for (an empty version accepts any name) and fits the screen: for scale 1
// to 4, the first size record that is the screen divided by the scale. A
// screen of (0, 0), or a skin that declares no sizes, fits any screen.
VersionMatch check_version(const SkinFile& file, std::u16string_view version, Size screen);

}
