#pragma once

#include "liba/ResourceReader.h"

#include <cstdint>
#include <vector>

namespace skinner {

// Reads count bytes from the stream's position, growing the buffer only as
// data arrives, so that a size field of a damaged file claims no memory.
// False when fewer came; the bytes then hold what did.
bool read_bytes(liba::ResourceReader& stream, std::uint64_t count, std::vector<std::uint8_t>& bytes);

}
