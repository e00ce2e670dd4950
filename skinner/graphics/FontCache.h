#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace skinner {

// A font description, such as "14 1 0 0 Tahoma", realised at a scale. The
// platform font made from it comes with the text drawing.
struct FontEntry {
    std::u16string description;
    std::uint32_t scale = 1;

    auto operator<=>(const FontEntry&) const = default;
};

// The program-wide font cache: one entry per description and scale, shared
// by every font that uses it while any does.
std::shared_ptr<const FontEntry> find_font(const std::u16string& description, std::uint32_t scale);

}
