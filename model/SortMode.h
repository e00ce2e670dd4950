#pragma once

#include <string_view>

namespace os {
class XmlNode;
}

// The sort key of the file explorer's list; folders always come first.
enum class SortMode : int {
    None = 0,
    Name = 1,
    Date = 2,
    Size = 3,
    NameDesc = 4,
    DateDesc = 5,
    SizeDesc = 6,
};

// By name: "NONE", "NAME", "DATE", "SIZE", "NAME_DESC", "DATE_DESC",
// "SIZE_DESC". False for a value or a text that has no name.
bool set_attribute_sort_mode(const os::XmlNode& node, std::u16string_view name, SortMode mode);
bool get_attribute_sort_mode(const os::XmlNode& node, std::u16string_view name, SortMode& mode);
