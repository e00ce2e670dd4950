#include "skinner/graphics/FontCache.h"

#include <map>
#include <mutex>

namespace skinner {

namespace {

struct Cache {
    std::mutex mutex;
    std::map<FontEntry, std::weak_ptr<const FontEntry>> fonts;
};

Cache& cache()
{
    static Cache* instance = new Cache; // lives to the end, past every static font
    return *instance;
}

}

std::shared_ptr<const FontEntry> find_font(const std::u16string& description, std::uint32_t scale)
{
    Cache& c = cache();
    std::lock_guard lock(c.mutex);
    FontEntry key { description, scale };
    std::weak_ptr<const FontEntry>& slot = c.fonts[key];
    if (std::shared_ptr<const FontEntry> entry = slot.lock())
        return entry;
    auto entry = std::make_shared<const FontEntry>(std::move(key));
    slot = entry;
    return entry;
}

}
