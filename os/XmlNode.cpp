#include "os/XmlNode.h"

#include "liba/BoolTexts.h"
#include "liba/CaseMapping.h"
#include "liba/Conversion.h"
#include "liba/DateTime.h"
#include "os/File.h"
#include "os/PathMacros.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Utf8.h"
#include "platform/core/Win32Error.h"

#include <optional>
#include <pugixml.hpp>
#include <unordered_set>
#include <vector>

namespace os {

// The tree and every holder that points into it, so that removing nodes can
// invalidate the holders instead of leaving them dangling.
class XmlDocument {
public:
    pugi::xml_document tree;
    std::unordered_set<XmlNode*> holders;

    static XmlNode root(const std::shared_ptr<XmlDocument>& document)
    {
        return XmlNode(document, document->tree.internal_object());
    }
};

namespace {

constexpr unsigned parse_flags = pugi::parse_default | pugi::parse_comments | pugi::parse_pi
    | pugi::parse_declaration | pugi::parse_doctype;

std::string utf8(std::u16string_view text)
{
    return platform::to_utf8(text);
}

bool is_name_start(char32_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':'
        || (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF)
        || (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D)
        || (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF)
        || (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

bool is_name_char(char32_t c)
{
    return is_name_start(c) || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == 0xB7
        || (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

// Element and attribute names must be XML names, or the saved file could not
// be read back.
bool is_xml_name(std::u16string_view name)
{
    if (name.empty())
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        char32_t c = name[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00
            && name[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (name[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return false;
        }
        if (!(i == 0 ? is_name_start(c) : is_name_char(c)))
            return false;
    }
    return true;
}

void append_text_of(pugi::xml_node node, std::string& out)
{
    // Iterative: a deeply nested document must not exhaust the stack.
    pugi::xml_node current = node.first_child();
    while (current) {
        if (current.type() == pugi::node_pcdata || current.type() == pugi::node_cdata)
            out += current.value();
        if (current.type() == pugi::node_element && current.first_child()) {
            current = current.first_child();
            continue;
        }
        while (current && !current.next_sibling() && current != node)
            current = current.parent();
        if (!current || current == node)
            break;
        current = current.next_sibling();
    }
}

// Larger files are refused rather than read into memory.
constexpr uint64_t max_file_size = 64 << 20;

bool read_whole_file(const std::u16string& path, std::string& bytes)
{
    File file(path, File::Mode::read);
    uint64_t size = file.size();
    if (!file.is_ok() || size > max_file_size)
        return false;
    bytes.resize(static_cast<size_t>(size));
    return file.read(bytes.data(), bytes.size()) == bytes.size();
}

// The encoding named in a leading declaration, lower case; empty without one.
std::u16string declared_encoding(std::string_view bytes)
{
    if (bytes.substr(0, 5) != "<?xml")
        return {};
    std::string_view declaration = bytes.substr(0, bytes.find("?>"));
    auto at = declaration.find("encoding");
    if (at == std::string_view::npos)
        return {};
    auto quote = declaration.find_first_of("\"'", at);
    if (quote == std::string_view::npos)
        return {};
    auto close = declaration.find(declaration[quote], quote + 1);
    if (close == std::string_view::npos)
        return {};
    return liba::to_lower(liba::to_wide(declaration.substr(quote + 1, close - quote - 1)));
}

bool is_8bit_encoding(std::u16string_view name)
{
    for (std::u16string_view known : { u"windows-1252", u"cp1252", u"iso-8859-1", u"iso8859-1", u"iso_8859-1",
             u"latin1", u"latin-1", u"us-ascii", u"ascii" }) {
        if (name == known)
            return true;
    }
    return false;
}

// What the parser reads: byte-order marks and UTF-16 it detects itself; 8-bit
// encodings are transcoded here to UTF-8. Other encodings are refused.
std::optional<pugi::xml_encoding> to_parser_input(std::string& bytes)
{
    auto starts = [&](std::string_view prefix) { return bytes.compare(0, prefix.size(), prefix) == 0; };
    if (starts("\xEF\xBB\xBF") || starts("\xFF\xFE") || starts("\xFE\xFF")
        || starts(std::string_view("<\0", 2)) || starts(std::string_view("\0<", 2)))
        return pugi::encoding_auto;
    std::u16string encoding = declared_encoding(bytes);
    if (encoding.empty() || encoding == u"utf-8" || encoding == u"utf8")
        return pugi::encoding_utf8;
    if (!is_8bit_encoding(encoding))
        return std::nullopt;
    bytes = platform::to_utf8(liba::to_wide(bytes));
    return pugi::encoding_utf8;
}

class StringWriter final : public pugi::xml_writer {
public:
    std::string bytes;

    void write(const void* data, size_t size) override { bytes.append(static_cast<const char*>(data), size); }
};

}

XmlNode::XmlNode(std::shared_ptr<XmlDocument> document, pugi::xml_node_struct* node)
    : m_document(std::move(document))
    , m_node(node)
{
    attach();
}

XmlNode::XmlNode(const XmlNode& other)
    : m_document(other.m_document)
    , m_node(other.m_node)
{
    attach();
}

XmlNode::XmlNode(XmlNode&& other) noexcept
    : m_document(other.m_document)
    , m_node(other.m_node)
{
    attach();
    other.detach();
    other.m_document.reset();
    other.m_node = nullptr;
}

XmlNode& XmlNode::operator=(const XmlNode& other)
{
    if (this == &other || (m_document == other.m_document && m_node == other.m_node))
        return *this;
    detach();
    m_document = other.m_document;
    m_node = other.m_node;
    attach();
    return *this;
}

XmlNode& XmlNode::operator=(XmlNode&& other) noexcept
{
    if (this == &other)
        return *this;
    *this = static_cast<const XmlNode&>(other);
    other.detach();
    other.m_document.reset();
    other.m_node = nullptr;
    return *this;
}

XmlNode::~XmlNode()
{
    detach();
}

void XmlNode::attach()
{
    if (m_document && m_node)
        m_document->holders.insert(this);
}

void XmlNode::detach()
{
    if (m_document)
        m_document->holders.erase(this);
}

pugi::xml_node XmlNode::node() const
{
    return pugi::xml_node(m_node);
}

XmlNode XmlNode::create_document()
{
    return XmlDocument::root(std::make_shared<XmlDocument>());
}

XmlNode XmlNode::load_file(const std::u16string& path)
{
    std::string bytes;
    if (!read_whole_file(path, bytes))
        return {};
    auto encoding = to_parser_input(bytes);
    if (!encoding)
        return {};
    auto document = std::make_shared<XmlDocument>();
    auto result = document->tree.load_buffer(bytes.data(), bytes.size(), parse_flags, *encoding);
    if (!result)
        return {};
    // Well-formed means exactly one top-level element.
    int elements = 0;
    for (pugi::xml_node child = document->tree.first_child(); child; child = child.next_sibling())
        elements += child.type() == pugi::node_element;
    if (elements != 1)
        return {};
    return XmlDocument::root(document);
}

bool XmlNode::save_file(const XmlNode& node, const std::u16string& path)
{
    if (!node.is_valid() || node.node().type() != pugi::node_document)
        return false;
    auto& tree = node.m_document->tree;
    // The bytes are UTF-8 whatever a loaded declaration said.
    for (pugi::xml_node child = tree.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_declaration && child.attribute("encoding"))
            child.attribute("encoding").set_value("UTF-8");
    }
    StringWriter writer;
    tree.save(writer, "\t", pugi::format_default | pugi::format_no_declaration, pugi::encoding_utf8);
    return platform::write_file_atomically(expand_path_macros(path), writer.bytes) == platform::error_success;
}

XmlNode XmlNode::find_child(const XmlNode& node, std::u16string_view name)
{
    if (!node.is_valid())
        return {};
    for (pugi::xml_node child = node.node().first_child(); child; child = child.next_sibling()) {
        XmlNode candidate(node.m_document, child.internal_object());
        if (get_name(candidate) == name)
            return candidate;
    }
    return {};
}

int XmlNode::child_count(const XmlNode& node)
{
    int count = 0;
    if (node.is_valid()) {
        for (pugi::xml_node child = node.node().first_child(); child; child = child.next_sibling())
            ++count;
    }
    return count;
}

XmlNode XmlNode::child_at(const XmlNode& node, int index)
{
    if (!node.is_valid() || index < 0)
        return {};
    pugi::xml_node child = node.node().first_child();
    for (int i = 0; child && i < index; ++i)
        child = child.next_sibling();
    return child ? XmlNode(node.m_document, child.internal_object()) : XmlNode();
}

XmlNode XmlNode::next_sibling(const XmlNode& node)
{
    if (!node.is_valid())
        return {};
    pugi::xml_node sibling = node.node().next_sibling();
    return sibling ? XmlNode(node.m_document, sibling.internal_object()) : XmlNode();
}

std::u16string XmlNode::get_name(const XmlNode& node)
{
    if (!node.is_valid())
        return {};
    pugi::xml_node n = node.node();
    switch (n.type()) {
    case pugi::node_document:
        return u"#document";
    case pugi::node_pcdata:
        return u"#text";
    case pugi::node_cdata:
        return u"#cdata-section";
    case pugi::node_comment:
        return u"#comment";
    case pugi::node_doctype: {
        std::string_view value = n.value();
        return platform::from_utf8(value.substr(0, value.find_first_of(" \t\r\n[")));
    }
    default:
        return platform::from_utf8(n.name());
    }
}

bool XmlNode::is_element(const XmlNode& node)
{
    return node.is_valid() && node.node().type() == pugi::node_element;
}

XmlNode XmlNode::append_element(const XmlNode& node, std::u16string_view name)
{
    if (!node.is_valid() || !is_xml_name(name))
        return {};
    pugi::xml_node parent = node.node();
    if (parent.type() == pugi::node_document) {
        // A document holds one top-level element.
        for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
            if (child.type() == pugi::node_element)
                return {};
        }
    } else if (parent.type() != pugi::node_element) {
        return {};
    }
    pugi::xml_node element = parent.append_child(utf8(name).c_str());
    return element ? XmlNode(node.m_document, element.internal_object()) : XmlNode();
}

bool XmlNode::get_text(const XmlNode& node, std::u16string& text)
{
    if (!node.is_valid())
        return false;
    pugi::xml_node n = node.node();
    std::string bytes;
    if (n.type() == pugi::node_element || n.type() == pugi::node_document)
        append_text_of(n, bytes);
    else
        bytes = n.value();
    text = platform::from_utf8(bytes);
    return true;
}

bool XmlNode::set_text(const XmlNode& node, std::u16string_view text)
{
    if (!node.is_valid())
        return false;
    pugi::xml_node n = node.node();
    std::string value = utf8(text);
    switch (n.type()) {
    case pugi::node_pcdata:
    case pugi::node_cdata:
    case pugi::node_comment:
    case pugi::node_pi:
        return n.set_value(value.c_str(), value.size());
    case pugi::node_element:
        break;
    default:
        return false;
    }
    std::unordered_set<pugi::xml_node_struct*> removed;
    for (pugi::xml_node child = n.first_child(); child; child = child.next_sibling()) {
        removed.insert(child.internal_object());
        for (pugi::xml_node below = child.first_child(); below;) {
            removed.insert(below.internal_object());
            if (below.first_child()) {
                below = below.first_child();
                continue;
            }
            while (below != child && !below.next_sibling())
                below = below.parent();
            below = below == child ? pugi::xml_node() : below.next_sibling();
        }
    }
    std::vector<XmlNode*> stale;
    for (XmlNode* holder : node.m_document->holders) {
        if (removed.count(holder->m_node))
            stale.push_back(holder);
    }
    for (XmlNode* holder : stale) {
        holder->detach();
        holder->m_node = nullptr;
    }
    n.remove_children();
    if (value.empty())
        return true;
    return n.append_child(pugi::node_pcdata).set_value(value.c_str(), value.size());
}

bool XmlNode::get_attribute(const XmlNode& node, std::u16string_view name, std::u16string& value)
{
    if (!node.is_valid() || node.node().type() != pugi::node_element)
        return false;
    pugi::xml_attribute attribute = node.node().attribute(utf8(name).c_str());
    if (!attribute)
        return false;
    value = platform::from_utf8(attribute.value());
    return true;
}

void XmlNode::set_attribute(const XmlNode& node, std::u16string_view name, std::u16string_view value)
{
    if (!node.is_valid() || node.node().type() != pugi::node_element || !is_xml_name(name))
        return;
    std::string key = utf8(name), text = utf8(value);
    pugi::xml_attribute attribute = node.node().attribute(key.c_str());
    if (!attribute)
        attribute = node.node().append_attribute(key.c_str());
    attribute.set_value(text.c_str(), text.size());
}

void XmlNode::set_attribute_int(const XmlNode& node, std::u16string_view name, int value)
{
    std::u16string text;
    liba::format_int(value, text);
    set_attribute(node, name, text);
}

void XmlNode::set_attribute_bool(const XmlNode& node, std::u16string_view name, bool value)
{
    for (const auto& row : liba::bool_texts) {
        if (row.value == value) {
            set_attribute(node, name, row.text);
            return;
        }
    }
}

void XmlNode::set_attribute_string(const XmlNode& node, std::u16string_view name, std::u16string_view value)
{
    set_attribute(node, name, value);
}

bool XmlNode::get_attribute_int(const XmlNode& node, std::u16string_view name, int& value)
{
    std::u16string text;
    return get_attribute(node, name, text) && liba::text_to_int(text, value);
}

bool XmlNode::get_attribute_bool(const XmlNode& node, std::u16string_view name, bool& value)
{
    std::u16string text;
    if (!get_attribute(node, name, text))
        return false;
    for (const auto& row : liba::bool_texts) {
        if (row.text == text) {
            value = row.value;
            return true;
        }
    }
    return false;
}

bool XmlNode::get_attribute_string(const XmlNode& node, std::u16string_view name, std::u16string& value)
{
    return get_attribute(node, name, value);
}

bool XmlNode::set_attribute_double(const XmlNode& node, std::u16string_view name, double value)
{
    std::u16string text;
    liba::format_double(value, text);
    set_attribute(node, name, text);
    return get_attribute(node, name, text);
}

bool XmlNode::get_attribute_double(const XmlNode& node, std::u16string_view name, double& value)
{
    std::u16string text;
    return get_attribute(node, name, text)
        && liba::parse_double(text.data(), text.data() + text.size(), value);
}

bool XmlNode::set_attribute_date_time(
    const XmlNode& node, std::u16string_view name, const liba::DateTime& value)
{
    std::u16string text;
    if (!liba::DateTime::to_text(value, text))
        return false;
    set_attribute(node, name, text);
    return get_attribute(node, name, text);
}

bool XmlNode::get_attribute_date_time(const XmlNode& node, std::u16string_view name, liba::DateTime& value)
{
    std::u16string text;
    return get_attribute(node, name, text) && liba::DateTime::from_text(text, value);
}

}
