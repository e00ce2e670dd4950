#pragma once

#include <span>
#include <string_view>

namespace skinner {

// One row of a table that turns a skin's name into a value.
template<typename Value>
struct NameTableRow {
    Value value;
    std::u16string_view name;
};

// Exact, case-sensitive match of the whole name; the value stays without one.
template<typename Value>
bool parse_name(std::span<const NameTableRow<Value>> table, std::u16string_view name, Value& value)
{
    for (const auto& row : table) {
        if (row.name == name) {
            value = row.value;
            return true;
        }
    }
    return false;
}

}
