#pragma once

#include "os/XmlNode.h"
#include "playlist/Entry.h"

#include <string>
#include <string_view>

// Element texts of the XML playlists.
namespace playlist {

// Calls visit with each child of that name, in document order; others are skipped.
template<typename Visit>
void for_each_child(const os::XmlNode& parent, std::u16string_view name, Visit visit)
{
    int count = os::XmlNode::child_count(parent);
    for (int i = 0; i < count; ++i) {
        os::XmlNode child = os::XmlNode::child_at(parent, i);
        if (os::XmlNode::get_name(child) == name)
            visit(child);
    }
}

// The text of the first child of that name; false when there is none.
bool child_text(const os::XmlNode& parent, std::u16string_view name, std::u16string& text);
// A number from the first child of that name, as parse_number reads it;
// false, value unchanged, when the child is missing or blank.
bool child_number(const os::XmlNode& parent, std::u16string_view name, double& value);
// The same, after dropping a final unit character.
bool child_number_with_unit(const os::XmlNode& parent, std::u16string_view name, double& value);
// The child's text into the entry's attribute of that key, when not empty.
void read_attribute(
    const os::XmlNode& parent, std::u16string_view name, Entry& entry, const std::u16string& key);

// Appends an element holding the text (none when empty).
os::XmlNode append_text(const os::XmlNode& parent, std::u16string_view name, std::u16string_view text);
// The entry's attribute of that key; empty when it has none.
std::u16string_view attribute_text(const Entry& entry, const std::u16string& key);

}
