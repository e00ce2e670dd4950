#include "model/SortMode.h"

#include "model/NamedValue.h"

namespace {

constexpr NamedValue<SortMode> sort_mode_names[] = {
    { SortMode::None, u"NONE" },
    { SortMode::Name, u"NAME" },
    { SortMode::Date, u"DATE" },
    { SortMode::Size, u"SIZE" },
    { SortMode::NameDesc, u"NAME_DESC" },
    { SortMode::DateDesc, u"DATE_DESC" },
    { SortMode::SizeDesc, u"SIZE_DESC" },
};

}

bool set_attribute_sort_mode(const os::XmlNode& node, std::u16string_view name, SortMode mode)
{
    return set_attribute_named<SortMode>(node, name, sort_mode_names, mode);
}

bool get_attribute_sort_mode(const os::XmlNode& node, std::u16string_view name, SortMode& mode)
{
    return get_attribute_named<SortMode>(node, name, sort_mode_names, mode);
}
