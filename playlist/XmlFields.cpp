#include "playlist/XmlFields.h"

#include "playlist/TimeText.h"

namespace playlist {

bool child_text(const os::XmlNode& parent, std::u16string_view name, std::u16string& text)
{
    return os::XmlNode::get_text(os::XmlNode::find_child(parent, name), text);
}

bool child_number(const os::XmlNode& parent, std::u16string_view name, double& value)
{
    std::u16string text;
    return child_text(parent, name, text) && parse_number(text, value);
}

bool child_number_with_unit(const os::XmlNode& parent, std::u16string_view name, double& value)
{
    std::u16string text;
    return child_text(parent, name, text) && parse_number(without_unit(text), value);
}

void read_attribute(
    const os::XmlNode& parent, std::u16string_view name, Entry& entry, const std::u16string& key)
{
    std::u16string text;
    if (child_text(parent, name, text) && !text.empty())
        entry.attributes[key] = std::move(text);
}

os::XmlNode append_text(const os::XmlNode& parent, std::u16string_view name, std::u16string_view text)
{
    os::XmlNode element = os::XmlNode::append_element(parent, name);
    if (!text.empty())
        os::XmlNode::set_text(element, text);
    return element;
}

std::u16string_view attribute_text(const Entry& entry, const std::u16string& key)
{
    auto found = entry.attributes.find(key);
    return found == entry.attributes.end() ? std::u16string_view {} : std::u16string_view { found->second };
}

}
