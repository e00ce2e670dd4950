#pragma once

#include "skinner/graphics/FontCache.h"
#include "skinner/graphics/Size.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace skinner {

// A reference to a shared font: a description realised at a scale. Copies
// share the cache entry; the platform font goes when the last reference does.
class Font {
public:
    Font() = default;
    explicit Font(std::uint32_t scale);

    // Points the font at the cache entry of the description at this font's
    // scale, making the platform font on first use. A description that does
    // not parse gives an entry without one; nothing is reported.
    void set_description(const std::u16string& description);

    std::uint32_t scale() const { return m_scale; }

    // Null for a font without a description.
    const FontRep* entry() const { return m_entry.get(); }

    // Null for an empty font and for one whose description gave none.
    const platform::Font* platform_font() const { return m_entry ? m_entry->font() : nullptr; }

private:
    std::shared_ptr<const FontRep> m_entry;
    std::uint32_t m_scale = 1;
};

// The size of the text in the font as drawing lays it out (lines split at
// line feeds): (0, 0) without a platform font; width 0 for an empty text.
Size measure_text(const Font& font, std::u16string_view text);

// The width of the widest text the pattern stands for: every '0' in it may be
// any digit, so each becomes the digit that is widest in the font.
std::int32_t widest_digits_width(const Font& font, std::u16string_view pattern);

}
