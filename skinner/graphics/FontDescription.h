#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace skinner {

// A font as a skin describes it: "height bold italic underline face", four
// decimal integers and the rest of the text after the blanks that follow
// them, e.g. "14 1 0 0 Tahoma". The face keeps its first 31 characters.
struct FontDescription {
    static constexpr std::size_t max_face = 31;

    std::int32_t height = 0;
    std::int32_t bold = 0;
    std::int32_t italic = 0;
    std::int32_t underline = 0;
    std::u16string face;

    bool operator==(const FontDescription&) const = default;
};

// nullopt when a number or the face is missing.
std::optional<FontDescription> parse_font_description(std::u16string_view text);

}
