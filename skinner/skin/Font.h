#pragma once

#include "skinner/graphics/FontCache.h"

#include <cstdint>
#include <memory>
#include <string>

namespace skinner {

// A reference to a shared font: a description realised at a scale. Copies
// share the cache entry.
class Font {
public:
    Font() = default;
    explicit Font(std::uint32_t scale);

    // Points the font at the cache entry of the description at this font's scale.
    void set_description(const std::u16string& description);

    std::uint32_t scale() const { return m_scale; }

    // Null for a font without a description.
    const FontEntry* entry() const { return m_entry.get(); }

private:
    std::shared_ptr<const FontEntry> m_entry;
    std::uint32_t m_scale = 1;
};

}
