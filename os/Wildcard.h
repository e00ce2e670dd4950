#pragma once

#include <string_view>

namespace os {

// File-search masks: '*' stands for any run of characters and '?' for one;
// letters match in either case. A mask ending in ".*" also matches names
// without that extension, so "*.*" matches every name.
bool wildcard_match(std::u16string_view mask, std::u16string_view name);

}
