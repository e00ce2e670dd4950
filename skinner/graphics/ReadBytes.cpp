#include "skinner/graphics/ReadBytes.h"

#include <algorithm>

namespace skinner {

bool read_bytes(liba::ResourceReader& stream, std::uint64_t count, std::vector<std::uint8_t>& bytes)
{
    constexpr std::size_t step = 1 << 16;
    bytes.clear();
    while (bytes.size() < count) {
        const std::size_t want
            = static_cast<std::size_t>(std::min<std::uint64_t>(step, count - bytes.size()));
        const std::size_t at = bytes.size();
        bytes.resize(at + want);
        const std::size_t got = stream.read(bytes.data() + at, want);
        bytes.resize(at + got);
        if (got == 0)
            return false;
    }
    return true;
}

}
