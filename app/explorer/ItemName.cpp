#include "app/explorer/ItemName.h"

#include <algorithm>

bool is_valid_item_name(std::u16string_view name)
{
    if (name.empty() || name == u"." || name == u"..")
        return false;
    return std::none_of(
        name.begin(), name.end(), [](char16_t c) { return c == u'/' || c == u'\\' || c < 32 || c == 127; });
}
