#pragma once

#include <string>
#include <string_view>

// Case mapping of UTF-16 text by Unicode's simple mappings, the same on
// every machine (not only ASCII, never the C locale).
namespace liba {

char16_t to_lower(char16_t c);
char16_t to_upper(char16_t c);
std::u16string to_lower(std::u16string_view text);
std::u16string to_upper(std::u16string_view text);

}
