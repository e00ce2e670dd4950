#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace pugi {
class xml_node;
struct xml_node_struct;
}

namespace liba {
class DateTime;
}

namespace os {

class XmlDocument;

// A handle to one node of an XML document. Holders keep their document
// alive; an empty holder is invalid, and every operation on it does nothing
// and gives an empty holder, an empty string, 0 or false, so look-ups can be
// chained and only the last result tested.
//
// Comments, processing instructions and the declaration are nodes like the
// others: child indices count them. Names match exactly, case included.
class XmlNode {
public:
    XmlNode() = default;
    XmlNode(const XmlNode& other);
    XmlNode(XmlNode&& other) noexcept;
    XmlNode& operator=(const XmlNode& other);
    XmlNode& operator=(XmlNode&& other) noexcept;
    ~XmlNode();

    bool is_valid() const { return m_node != nullptr; }

    // A new, empty document, without a declaration.
    static XmlNode create_document();
    // The document in the file (path macros expanded), or an invalid holder
    // when the file is missing, unreadable or not well-formed. Files that
    // declare an 8-bit encoding are read as Windows-1252.
    static XmlNode load_file(const std::u16string& path);
    // Writes a document node as UTF-8, replacing the file atomically: on any
    // failure the old file stays whole. False for other nodes.
    static bool save_file(const XmlNode& node, const std::u16string& path);

    static XmlNode find_child(const XmlNode& node, std::u16string_view name);
    static int child_count(const XmlNode& node);
    static XmlNode child_at(const XmlNode& node, int index);
    // The node after this one under the same parent: walking children this
    // way takes linear time where child_at takes quadratic.
    static XmlNode next_sibling(const XmlNode& node);
    // Elements and processing instructions by name; "#document", "#text",
    // "#comment" and "#cdata-section" for the others.
    static std::u16string get_name(const XmlNode& node);
    // Elements only: an instruction has a name too.
    static bool is_element(const XmlNode& node);

    // Appends an element to a document or an element. Fails for a name that
    // is not an XML name, and for a second top-level element.
    static XmlNode append_element(const XmlNode& node, std::u16string_view name);

    // The text of a node and all its descendants.
    static bool get_text(const XmlNode& node, std::u16string& text);
    // An element's children are replaced by the text; holders of the
    // removed nodes become invalid.
    static bool set_text(const XmlNode& node, std::u16string_view text);

    static bool get_attribute(const XmlNode& node, std::u16string_view name, std::u16string& value);
    static void set_attribute(const XmlNode& node, std::u16string_view name, std::u16string_view value);

    static void set_attribute_int(const XmlNode& node, std::u16string_view name, int value);
    static void set_attribute_bool(const XmlNode& node, std::u16string_view name, bool value);
    static void set_attribute_string(
        const XmlNode& node, std::u16string_view name, std::u16string_view value);
    // The getters leave the target alone when the attribute is missing, so
    // callers store the default first. An integer reads like "%d" text with
    // leading blanks; a text that starts with something else sets 0 and fails.
    static bool get_attribute_int(const XmlNode& node, std::u16string_view name, int& value);
    static bool get_attribute_bool(const XmlNode& node, std::u16string_view name, bool& value);
    static bool get_attribute_string(const XmlNode& node, std::u16string_view name, std::u16string& value);

    // Numbers as "%f" text, whatever the C locale; read like integers, with
    // a fraction and an exponent. The setters say whether the attribute was set.
    static bool set_attribute_double(const XmlNode& node, std::u16string_view name, double value);
    static bool get_attribute_double(const XmlNode& node, std::u16string_view name, double& value);
    // A date and time in its text form, e.g. "2007 03 05 14 30 00". The
    // getter fails, leaving the value alone, for a missing attribute or a
    // text that is no possible date and time.
    static bool set_attribute_date_time(
        const XmlNode& node, std::u16string_view name, const liba::DateTime& value);
    static bool get_attribute_date_time(const XmlNode& node, std::u16string_view name, liba::DateTime& value);

private:
    friend class XmlDocument;
    XmlNode(std::shared_ptr<XmlDocument> document, pugi::xml_node_struct* node);
    pugi::xml_node node() const;
    void attach();
    void detach();

    std::shared_ptr<XmlDocument> m_document;
    pugi::xml_node_struct* m_node { nullptr };
};

}
