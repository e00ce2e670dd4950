#include "skinner/graphics/FontCache.h"

#include "skinner/graphics/SharedCache.h"

namespace skinner {

std::shared_ptr<const FontEntry> find_font(const std::u16string& description, std::uint32_t scale)
{
    static auto* cache = new SharedCache<FontEntry, FontEntry>; // lives past every static font
    return cache->find(FontEntry { description, scale }, [](const FontEntry& key) { return key; });
}

}
