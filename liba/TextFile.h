#pragma once

#include "liba/ResourceReader.h"

#include <cstdint>
#include <limits>
#include <string>

namespace liba {

// The rest of an open file, or of any stream read like one, as text, at
// most max_bytes of it: UTF-16LE when it begins with the mark FF FE (dropped)
// and its length is even, else 8-bit text in the ANSI code page. Empty when
// the file yields fewer bytes than it claims.
std::u16string read_text_file(
    ResourceReader& file, std::uint64_t max_bytes = std::numeric_limits<std::uint64_t>::max());

}
