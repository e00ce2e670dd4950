#pragma once

#include <string>
#include <string_view>

// The one crossing between the program's UTF-16 text and the UTF-8 that
// POSIX, SDL, FreeType and pugixml take.
namespace platform {

// Unpaired surrogates become U+FFFD.
std::string to_utf8(std::u16string_view text);
// Malformed sequences become U+FFFD, one per offending byte.
std::u16string from_utf8(std::string_view text);

}
