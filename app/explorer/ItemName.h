#pragma once

#include <string_view>

// Whether a typed name can name a file or folder of its own: not empty, not
// "." nor "..", without a path separator or a control character (no line
// break can reach a playlist line through it).
bool is_valid_item_name(std::u16string_view name);
