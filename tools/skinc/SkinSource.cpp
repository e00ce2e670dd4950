#include "tools/skinc/SkinSource.h"

#include "platform/core/Utf8.h"
#include "skinner/graphics/RawPngDecoder.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <optional>
#include <pugixml.hpp>
#include <set>
#include <sstream>

namespace skinc {

namespace {

using skinner::skin_format::Table;

constexpr std::size_t most_pictures = 256; // a picture entry holds one byte of index

// The first error ends the parse.
struct Failure {
    int line;
    std::string message;
};

std::string utf8(std::u16string_view text)
{
    return platform::to_utf8(text);
}

class Parser {
public:
    Parser(std::string_view xml, const std::string& picture_folder)
        : m_xml(xml)
        , m_picture_folder(picture_folder)
    {
    }

    SkinSource parse()
    {
        pugi::xml_document document;
        const pugi::xml_parse_result loaded = document.load_buffer(m_xml.data(), m_xml.size());
        if (!loaded)
            throw Failure { line_of(loaded.offset),
                std::string("not well-formed XML: ") + loaded.description() };
        const pugi::xml_node root = document.document_element();
        if (std::string_view(root.name()) != "skin")
            throw Failure { line_of(root.offset_debug()), "the top element must be <skin>" };
        SkinSource skin;
        skin.name = header_text(root, "name");
        skin.devices = header_text(root, "devices", false);
        for (const pugi::xml_node child : root.children()) {
            if (child.type() != pugi::node_element)
                continue;
            const std::string_view kind = child.name();
            if (kind == "size")
                add_size(skin, child);
            else if (kind == "picture")
                add_picture(skin, child);
            else if (kind == "font")
                add_font(skin, child);
            else if (kind != "form" && kind != "kind")
                fail(child, "unknown element <" + std::string(kind) + ">");
        }
        // Properties refer to pictures and fonts by name, wherever those are listed.
        for (const pugi::xml_node child : root.children()) {
            if (std::string_view(child.name()) == "form")
                skin.forms.push_back(read_form(child, skin.forms));
            else if (std::string_view(child.name()) == "kind")
                skin.kinds.push_back(read_record(child, "kind"));
        }
        check_forms(skin.forms);
        check_unique(skin.kinds, "kind");
        return skin;
    }

private:
    int line_of(std::ptrdiff_t offset) const
    {
        const std::size_t end = std::min<std::size_t>(
            static_cast<std::size_t>(std::max<std::ptrdiff_t>(offset, 0)), m_xml.size());
        return 1
            + static_cast<int>(
                std::count(m_xml.begin(), m_xml.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
    }

    [[noreturn]] void fail(const pugi::xml_node& node, const std::string& message) const
    {
        throw Failure { line_of(node.offset_debug()), message };
    }

    // A required attribute (or an optional one that may be absent, giving empty).
    std::u16string text(const pugi::xml_node& node, const char* name, bool required = true) const
    {
        const pugi::xml_attribute attribute = node.attribute(name);
        if (!attribute) {
            if (required)
                fail(node, std::string("<") + node.name() + "> needs the attribute " + name);
            return {};
        }
        return platform::from_utf8(attribute.value());
    }

    std::u16string name(const pugi::xml_node& node, const char* attribute = "name") const
    {
        std::u16string value = text(node, attribute);
        if (value.empty())
            fail(node, std::string("<") + node.name() + "> has an empty " + attribute);
        return value;
    }

    // The header's texts hold 31 units and their end.
    std::u16string header_text(const pugi::xml_node& node, const char* attribute, bool required = true) const
    {
        std::u16string value = text(node, attribute, required);
        if (value.size() >= skinner::skin_format::text_units)
            fail(node, std::string("the skin's ") + attribute + " is longer than 31 characters");
        return value;
    }

    template<class T>
    T number(
        const pugi::xml_node& node, const char* attribute, std::optional<T> fallback = std::nullopt) const
    {
        const pugi::xml_attribute a = node.attribute(attribute);
        if (!a) {
            if (fallback)
                return *fallback;
            fail(node, std::string("<") + node.name() + "> needs the attribute " + attribute);
        }
        return parse_number<T>(node, a.value(), attribute);
    }

    template<class T>
    T parse_number(const pugi::xml_node& node, std::string_view text, const std::string& what) const
    {
        while (!text.empty() && text.front() == ' ')
            text.remove_prefix(1);
        if (!text.empty() && text.front() == '+')
            text.remove_prefix(1);
        long long value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size() || text.empty())
            fail(node, what + " \"" + std::string(text) + "\" is no whole number");
        if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max())
            fail(node,
                what + " " + std::to_string(value) + " is beyond "
                    + std::to_string(std::numeric_limits<T>::min()) + ".."
                    + std::to_string(std::numeric_limits<T>::max()));
        return static_cast<T>(value);
    }

    // Four numbers separated by blanks.
    std::array<std::uint16_t, 4> rectangle(const pugi::xml_node& node, const char* attribute) const
    {
        std::istringstream words(node.attribute(attribute).value());
        std::array<std::uint16_t, 4> values {};
        std::string word;
        std::size_t count = 0;
        while (words >> word) {
            if (count == 4)
                fail(node, std::string(attribute) + " takes four numbers: left top right bottom");
            values[count++] = parse_number<std::uint16_t>(node, word, attribute);
        }
        if (count != 4)
            fail(node, std::string(attribute) + " takes four numbers: left top right bottom");
        return values;
    }

    bool boolean(const pugi::xml_node& node, const char* attribute) const
    {
        const std::string_view value = node.attribute(attribute).value();
        if (value.empty() || value == "false" || value == "0")
            return false;
        if (value == "true" || value == "1")
            return true;
        fail(node, std::string(attribute) + " is \"true\" or \"false\"");
    }

    void add_size(SkinSource& skin, const pugi::xml_node& node) const
    {
        if (skin.sizes.size() == skinner::skin_format::size_records)
            fail(node, "a skin holds at most 32 sizes");
        const SkinSize size { number<std::uint32_t>(node, "width"), number<std::uint32_t>(node, "height") };
        if (size.width == 0 || size.height == 0)
            fail(node, "a size is not 0 wide or high");
        skin.sizes.push_back(size);
    }

    void add_picture(SkinSource& skin, const pugi::xml_node& node)
    {
        const std::u16string file = name(node);
        if (m_pictures.contains(file))
            fail(node, "picture \"" + utf8(file) + "\" is listed twice");
        if (skin.pictures.size() == most_pictures)
            fail(node, "a skin holds at most 256 pictures");
        check_picture_file(node, file);
        m_pictures[file] = static_cast<std::uint8_t>(skin.pictures.size());
        skin.pictures.push_back(file);
    }

    void check_picture_file(const pugi::xml_node& node, const std::u16string& file) const
    {
        if (m_picture_folder.empty())
            return;
        const std::filesystem::path base = std::filesystem::path(m_picture_folder) / utf8(file);
        for (const char* extension : { ".png", ".bmp", ".gif", ".jpg" }) {
            std::filesystem::path path = base;
            path += extension;
            if (!std::filesystem::is_regular_file(path))
                continue;
            if (std::string_view(extension) != ".png")
                return;
            std::ifstream in(path, std::ios::binary);
            const std::vector<std::uint8_t> bytes { std::istreambuf_iterator<char>(in), {} };
            skinner::RawPngDecoder decoder;
            decoder.decode(bytes.data(), bytes.size());
            if (decoder.width() == 0)
                fail(node, "picture " + path.string() + " does not decode");
            return;
        }
        fail(node, "picture \"" + utf8(file) + "\" has no file in " + m_picture_folder);
    }

    void add_font(SkinSource& skin, const pugi::xml_node& node)
    {
        const std::u16string id = name(node);
        if (m_fonts.contains(id))
            fail(node, "font \"" + utf8(id) + "\" is listed twice");
        m_fonts[id] = static_cast<std::uint32_t>(skin.fonts.size());
        skin.fonts.push_back(text(node, "description"));
    }

    // A form "like" an earlier record starts as its copy: its own properties,
    // and those of the controls it lists, replace those of the same name and
    // table or are added; its new controls and templates are added.
    Form read_form(const pugi::xml_node& node, const std::vector<Form>& earlier) const
    {
        Form form;
        const std::u16string like = text(node, "like", false);
        if (!like.empty()) {
            const auto base = std::find_if(
                earlier.begin(), earlier.end(), [&](const Form& f) { return f.name == like; });
            if (base == earlier.end())
                fail(node, "no form record \"" + utf8(like) + "\" above to be like");
            form = *base;
        }
        Record own = read_record(node, "form");
        form.name = std::move(own.name);
        form.line = own.line;
        for (Property& p : own.properties)
            put(form.properties, std::move(p));
        form.form_name = form.name;
        form.name += text(node, "variant", false);
        std::set<std::u16string> own_controls;
        for (const pugi::xml_node child : node.children()) {
            const std::string_view kind = child.name();
            if (kind == "control") {
                Record control = read_record(child, "control");
                const auto same = std::find_if(form.controls.begin(), form.controls.end(),
                    [&](const Record& r) { return r.name == control.name; });
                // A control listed twice in the form itself stays an error.
                if (own_controls.insert(control.name).second && same != form.controls.end()) {
                    for (Property& p : control.properties)
                        put(same->properties, std::move(p));
                } else {
                    form.controls.push_back(std::move(control));
                }
            } else if (kind == "template") {
                std::u16string type = name(child, "type");
                if (std::find(std::begin(skinner::skin_format::template_types),
                        std::end(skinner::skin_format::template_types), type)
                    == std::end(skinner::skin_format::template_types))
                    fail(child,
                        "template type \"" + utf8(type)
                            + "\" is none of Auto.Button, Auto.Frame, Auto.Picture, Auto.Panel");
                std::pair<std::u16string, std::u16string> entry { name(child, "control"), std::move(type) };
                if (like.empty() || std::find(form.templates.begin(), form.templates.end(), entry) == form.templates.end())
                    form.templates.push_back(std::move(entry));
            }
        }
        check_unique(form.controls, "control of form \"" + utf8(form.name) + "\"");
        for (const auto& entry : form.templates) {
            const std::u16string& control = entry.first;
            if (std::none_of(form.controls.begin(), form.controls.end(),
                    [&](const Record& r) { return r.name == control; }))
                fail(node,
                    "form \"" + utf8(form.name) + "\" has a template for \"" + utf8(control)
                        + "\" but no such control");
        }
        return form;
    }

    // Replaces the property of the same table and name, or adds it.
    static void put(std::vector<Property>& properties, Property property)
    {
        const auto same = std::find_if(properties.begin(), properties.end(),
            [&](const Property& p) { return p.table == property.table && p.name == property.name; });
        if (same != properties.end())
            *same = std::move(property);
        else
            properties.push_back(std::move(property));
    }

    Record read_record(const pugi::xml_node& node, const char* what) const
    {
        Record record { name(node), line_of(node.offset_debug()), {} };
        for (const pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element)
                continue;
            const std::string_view kind = child.name();
            if (kind == "control" || kind == "template") {
                if (std::string_view(what) != "form")
                    fail(child, "only a form holds <" + std::string(kind) + ">");
                continue;
            }
            record.properties.push_back(read_property(child));
        }
        std::set<std::pair<Table, std::u16string>> seen;
        for (const Property& p : record.properties)
            if (!seen.insert({ p.table, p.name }).second)
                throw Failure { p.line,
                    std::string(what) + " \"" + utf8(record.name) + "\" has two <" + table_element(p.table)
                        + "> named \"" + utf8(p.name) + "\"" };
        return record;
    }

    static const char* table_element(Table table)
    {
        constexpr const char* names[] = { "int", "point", "string", "picture", "color", "font" };
        return names[static_cast<std::size_t>(table)];
    }

    Property read_property(const pugi::xml_node& node) const
    {
        const std::string_view kind = node.name();
        Property p;
        p.line = line_of(node.offset_debug());
        p.name = name(node);
        if (kind == "int") {
            p.table = Table::integers;
            p.integer = number<std::int32_t>(node, "value");
        } else if (kind == "point") {
            p.table = Table::points;
            p.x = number<std::int16_t>(node, "x");
            p.y = number<std::int16_t>(node, "y");
        } else if (kind == "string") {
            p.table = Table::strings;
            p.text = text(node, "value");
        } else if (kind == "picture") {
            p.table = Table::pictures;
            read_picture(node, p);
        } else if (kind == "color") {
            p.table = Table::colors;
            read_color(node, p);
        } else if (kind == "font") {
            p.table = Table::fonts;
            const std::u16string id = name(node, "font");
            const auto found = m_fonts.find(id);
            if (found == m_fonts.end())
                fail(node, "font \"" + utf8(id) + "\" is not listed in the skin");
            p.font = found->second;
        } else {
            fail(node, "unknown property <" + std::string(kind) + ">");
        }
        return p;
    }

    void read_picture(const pugi::xml_node& node, Property& p) const
    {
        const std::u16string image = name(node, "image");
        const auto found = m_pictures.find(image);
        if (found == m_pictures.end())
            fail(node, "picture \"" + utf8(image) + "\" is not listed in the skin");
        p.picture = found->second;
        p.stretch = boolean(node, "stretch");
        const auto source = rectangle(node, "source");
        const auto inner = node.attribute("inner") ? rectangle(node, "inner") : source;
        const std::uint16_t points[8]
            = { source[0], source[1], inner[0], inner[1], inner[2], inner[3], source[2], source[3] };
        for (int axis = 0; axis < 2; ++axis)
            for (int i = 0; i < 3; ++i)
                if (points[2 * i + axis] > points[2 * (i + 1) + axis])
                    fail(node,
                        "the inner rectangle must lie inside the source rectangle, both from top-left to "
                        "bottom-right");
        std::copy(std::begin(points), std::end(points), p.points);
    }

    // "#RRGGBB" or "#RRGGBBXX": the fourth byte is 0 unless given.
    void read_color(const pugi::xml_node& node, Property& p) const
    {
        const std::string_view value = node.attribute("value").value();
        if (!(value.size() == 7 || value.size() == 9) || value.front() != '#')
            fail(node, "a colour is \"#RRGGBB\" or \"#RRGGBBXX\"");
        for (std::size_t i = 0; i < (value.size() - 1) / 2; ++i) {
            unsigned byte = 0;
            const char* begin = value.data() + 1 + 2 * i;
            const auto [end, error] = std::from_chars(begin, begin + 2, byte, 16);
            if (error != std::errc() || end != begin + 2)
                fail(node, "a colour is \"#RRGGBB\" or \"#RRGGBBXX\"");
            p.color[i] = static_cast<std::uint8_t>(byte);
        }
    }

    template<class R>
    void check_unique(const std::vector<R>& records, const std::string& what) const
    {
        std::map<std::u16string, int> seen;
        for (const R& r : records)
            if (!seen.emplace(r.name, r.line).second)
                throw Failure { r.line, "a second " + what + " named \"" + utf8(r.name) + "\"" };
    }

    // A form is asked for by its name, and every record whose name begins
    // with it is a variant: no other form's record may begin with it.
    void check_forms(const std::vector<Form>& forms) const
    {
        check_unique(forms, "form record");
        for (const Form& a : forms)
            for (const Form& b : forms)
                if (a.form_name != b.form_name && b.name.starts_with(a.form_name))
                    throw Failure { b.line,
                        "form record \"" + utf8(b.name) + "\" would be taken for a variant of form \""
                            + utf8(a.form_name) + "\"" };
    }

    std::string_view m_xml;
    std::string m_picture_folder;
    std::map<std::u16string, std::uint8_t> m_pictures;
    std::map<std::u16string, std::uint32_t> m_fonts;
};

}

ParseResult parse_skin(std::string_view xml, const std::string& picture_folder)
{
    ParseResult result;
    try {
        result.skin = Parser(xml, picture_folder).parse();
    } catch (const Failure& failure) {
        result.error = "line " + std::to_string(failure.line) + ": " + failure.message;
    }
    return result;
}

}
