#pragma once

#include "tools/skinc/SkinSource.h"

#include <cstdint>
#include <string>
#include <vector>

namespace skinc {

struct LayoutResult {
    std::vector<std::uint8_t> bytes;
    std::string error; // empty on success
};

// Lays a checked skin out as the loader reads it: the header, then every
// property name, string value and template name (the texts that entries
// address with 16 bits, so they must end within the first 64 KiB), then the
// records, each followed by its sorted tables, as balanced search trees by
// name, and last the record names and the string table of pictures and fonts.
LayoutResult lay_out(const SkinSource& skin);

}
