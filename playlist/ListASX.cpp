#include "playlist/ListASX.h"

#include "os/XmlNode.h"
#include "playlist/XmlFields.h"

namespace playlist {

using os::XmlNode;

namespace {

// False when the first "REF" has no "HREF".
bool read_entry(const XmlNode& element, Entry& entry)
{
    if (!XmlNode::get_attribute(XmlNode::find_child(element, u"REF"), u"HREF", entry.path))
        return false;
    read_attribute(element, u"TITLE", entry, u"title");
    XmlNode param = XmlNode::find_child(element, u"PARAM");
    std::u16string name, value;
    if (XmlNode::get_attribute(param, u"value", value) && XmlNode::get_attribute(param, u"name", name))
        entry.attributes[name] = value;
    return true;
}

}

ListASX::ListASX(const std::u16string& path)
    : List(u"asx")
{
    XmlNode root = XmlNode::find_child(XmlNode::load_file(path), u"ASX");
    if (!root.is_valid())
        return;
    for_each_child(root, u"ENTRY", [&](const XmlNode& element) {
        Entry entry;
        if (read_entry(element, entry))
            m_entries.push_back(std::move(entry));
    });
    m_loaded = true;
}

bool ListASX::save(const std::u16string& path)
{
    XmlNode document = XmlNode::create_document();
    XmlNode root = XmlNode::append_element(document, u"ASX");
    XmlNode::set_attribute_string(root, u"version", u"3.0");
    for (const Entry& entry : m_entries) {
        XmlNode element = XmlNode::append_element(root, u"ENTRY");
        XmlNode::set_attribute_string(XmlNode::append_element(element, u"REF"), u"HREF", entry.path);
        if (entry.attributes.contains(u"title"))
            append_text(element, u"TITLE", attribute_text(entry, u"title"));
        if (entry.attributes.contains(u"artist")) {
            XmlNode param = XmlNode::append_element(element, u"PARAM");
            XmlNode::set_attribute_string(param, u"name", u"artist");
            XmlNode::set_attribute_string(param, u"value", attribute_text(entry, u"artist"));
        }
    }
    return XmlNode::save_file(document, path);
}

}
