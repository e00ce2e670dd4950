#pragma once

#include "platform/ui/Font.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace skinner {

struct FontKey {
    std::u16string description;
    std::uint32_t scale = 1;

    auto operator<=>(const FontKey&) const = default;
};

// The platform font made for a description at a scale: the height times
// the scale, in points at a fixed 96 dots per inch, weight 700 when bold. A
// description that does not parse, or a font that cannot be made, leaves
// no platform font.
class FontRep {
public:
    FontRep(const std::u16string& description, std::uint32_t scale);

    const std::u16string& description() const { return m_description; }

    std::uint32_t scale() const { return m_scale; }

    // Null when there is none.
    const platform::Font* font() const { return m_font.get(); }

    // What the platform was asked for; nullopt when the description did not parse.
    const std::optional<platform::LogFont>& log_font() const { return m_log_font; }

private:
    std::u16string m_description;
    std::uint32_t m_scale;
    std::optional<platform::LogFont> m_log_font;
    std::unique_ptr<platform::Font> m_font;
};

// The program-wide font cache: one FontRep per description and scale,
// shared by every font that uses it, and deleted when the last lets go.
std::shared_ptr<const FontRep> find_font(const std::u16string& description, std::uint32_t scale);

// How many FontReps are held now.
std::size_t fonts_in_use();

}
