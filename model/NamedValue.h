#pragma once

#include "os/XmlNode.h"

#include <span>
#include <string_view>

// A row of a table of values stored by name. Tables are searched from the
// first row: a value without a row is not written, a name without a row
// (compared exactly, case included) is not read.
template<typename T>
struct NamedValue {
    T value;
    std::u16string_view name;
};

template<typename T>
bool set_attribute_named(
    const os::XmlNode& node, std::u16string_view attribute, std::span<const NamedValue<T>> table, T value)
{
    for (const auto& row : table) {
        if (row.value == value) {
            os::XmlNode::set_attribute_string(node, attribute, row.name);
            std::u16string written;
            return os::XmlNode::get_attribute_string(node, attribute, written);
        }
    }
    return false;
}

template<typename T>
bool get_attribute_named(
    const os::XmlNode& node, std::u16string_view attribute, std::span<const NamedValue<T>> table, T& value)
{
    std::u16string text;
    if (!os::XmlNode::get_attribute_string(node, attribute, text))
        return false;
    for (const auto& row : table) {
        if (row.name == text) {
            value = row.value;
            return true;
        }
    }
    return false;
}
