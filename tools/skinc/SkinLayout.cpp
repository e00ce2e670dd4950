#include "tools/skinc/SkinLayout.h"

#include "platform/core/Utf8.h"
#include "skinner/skin/SkinFile.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace skinc {

namespace {

using namespace skinner::skin_format;

constexpr std::uint32_t short_offset_limit = 0x10000;

class Writer {
public:
    Writer()
        : m_bytes(header_size, 0)
    {
    }

    std::uint32_t size() const { return static_cast<std::uint32_t>(m_bytes.size()); }

    std::vector<std::uint8_t>& bytes() { return m_bytes; }

    void align(std::size_t to)
    {
        while (m_bytes.size() % to)
            m_bytes.push_back(0);
    }

    std::uint32_t reserve(std::size_t count)
    {
        const std::uint32_t at = size();
        m_bytes.resize(m_bytes.size() + count, 0);
        return at;
    }

    template<class T>
    void put(std::uint32_t at, const T& value)
    {
        std::memcpy(m_bytes.data() + at, &value, sizeof value);
    }

    // A text written once however often it is used.
    std::uint32_t text(const std::u16string& value)
    {
        const auto found = m_texts.find(value);
        if (found != m_texts.end())
            return found->second;
        const std::uint32_t at = append_text(value);
        m_texts.emplace(value, at);
        return at;
    }

    std::uint32_t append_text(const std::u16string& value)
    {
        align(2);
        const std::uint32_t at = reserve(2 * (value.size() + 1));
        std::memcpy(m_bytes.data() + at, value.data(), 2 * value.size());
        return at;
    }

    std::uint32_t text_offset(const std::u16string& value) const { return m_texts.at(value); }

private:
    std::vector<std::uint8_t> m_bytes;
    std::map<std::u16string, std::uint32_t> m_texts;
};

struct Overflow {
    std::string message;
};

bool name_less(const std::u16string& a, const std::u16string& b)
{
    return compare_names(a, b) < 0;
}

class Layout {
public:
    explicit Layout(const SkinSource& skin)
        : m_skin(skin)
    {
    }

    std::vector<std::uint8_t> build()
    {
        write_header();
        write_short_texts();
        const std::uint32_t forms = write_tree(form_records(), true);
        const std::uint32_t kinds = write_tree(pointers(m_skin.kinds), false);
        m_out.put(forms_root_at, forms);
        m_out.put(kinds_root_at, kinds);
        write_record_names();
        write_string_table();
        return std::move(m_out.bytes());
    }

private:
    void write_header()
    {
        std::memcpy(m_out.bytes().data() + magic_at, magic, sizeof magic);
        std::memcpy(m_out.bytes().data() + name_at, m_skin.name.data(), 2 * m_skin.name.size());
        std::memcpy(m_out.bytes().data() + devices_at, m_skin.devices.data(), 2 * m_skin.devices.size());
        m_out.put(picture_count_at, static_cast<std::uint32_t>(m_skin.pictures.size()));
        m_out.put(font_count_at, static_cast<std::uint32_t>(m_skin.fonts.size()));
        for (std::size_t i = 0; i < m_skin.sizes.size(); ++i) {
            m_out.put(static_cast<std::uint32_t>(sizes_at + i * size_record_bytes), m_skin.sizes[i].width);
            m_out.put(
                static_cast<std::uint32_t>(sizes_at + i * size_record_bytes + 4), m_skin.sizes[i].height);
        }
    }

    // Everything that an entry or a template addresses with 16 bits.
    void write_short_texts()
    {
        auto add_record = [&](const Record& record) {
            for (const Property& p : record.properties) {
                short_text(p.name);
                if (p.table == Table::strings)
                    short_text(p.text);
            }
        };
        for (const Form& form : m_skin.forms) {
            add_record(form);
            for (const auto& [control, type] : form.templates) {
                short_text(control);
                short_text(type);
            }
            for (const Record& control : form.controls)
                add_record(control);
        }
        for (const Record& kind : m_skin.kinds)
            add_record(kind);
    }

    void short_text(const std::u16string& value)
    {
        if (m_out.text(value) >= short_offset_limit)
            throw Overflow { "the property names, string values and template names need more than 64 KiB; \""
                + platform::to_utf8(value) + "\" no longer fits" };
    }

    std::vector<const Record*> form_records() const
    {
        std::vector<const Record*> records;
        for (const Form& form : m_skin.forms)
            records.push_back(&form);
        return records;
    }

    static std::vector<const Record*> pointers(const std::vector<Record>& list)
    {
        std::vector<const Record*> records;
        for (const Record& r : list)
            records.push_back(&r);
        return records;
    }

    // A balanced search tree of the records; returns the root's offset.
    std::uint32_t write_tree(std::vector<const Record*> records, bool forms)
    {
        std::sort(records.begin(), records.end(),
            [](const Record* a, const Record* b) { return name_less(a->name, b->name); });
        return write_subtree(records, 0, records.size(), forms);
    }

    std::uint32_t write_subtree(
        const std::vector<const Record*>& records, std::size_t begin, std::size_t end, bool forms)
    {
        if (begin == end)
            return 0;
        const std::size_t middle = begin + (end - begin) / 2;
        const std::uint32_t record = write_record(*records[middle], forms);
        m_out.put(record + 4 * left_word, write_subtree(records, begin, middle, forms));
        m_out.put(record + 4 * right_word, write_subtree(records, middle + 1, end, forms));
        return record;
    }

    std::uint32_t write_record(const Record& record, bool form)
    {
        const Form* as_form = form ? static_cast<const Form*>(&record) : nullptr;
        m_out.align(4);
        const std::size_t templates = as_form ? as_form->templates.size() : 0;
        const std::uint32_t at
            = m_out.reserve(4 * (form ? form_record_words : record_words) + template_entry_bytes * templates);
        m_names.emplace_back(at, record.name);
        for (std::size_t t = 0; t < table_count; ++t) {
            const auto [first, behind] = write_table(record, static_cast<Table>(t));
            m_out.put(static_cast<std::uint32_t>(at + 4 * (tables_word + 2 * t)), first);
            m_out.put(static_cast<std::uint32_t>(at + 4 * (tables_word + 2 * t + 1)), behind);
        }
        if (!as_form)
            return at;
        m_out.put(
            static_cast<std::uint32_t>(at + 4 * template_count_word), static_cast<std::uint32_t>(templates));
        for (std::size_t i = 0; i < templates; ++i) {
            const auto entry
                = static_cast<std::uint32_t>(at + 4 * form_record_words + template_entry_bytes * i);
            m_out.put(entry, static_cast<std::uint16_t>(m_out.text_offset(as_form->templates[i].first)));
            m_out.put(entry + 2, static_cast<std::uint16_t>(m_out.text_offset(as_form->templates[i].second)));
        }
        const std::uint32_t controls = write_tree(pointers(as_form->controls), false);
        m_out.put(static_cast<std::uint32_t>(at + 4 * controls_word), controls);
        return at;
    }

    std::pair<std::uint32_t, std::uint32_t> write_table(const Record& record, Table table)
    {
        std::vector<const Property*> entries;
        for (const Property& p : record.properties)
            if (p.table == table)
                entries.push_back(&p);
        if (entries.empty())
            return { 0, 0 };
        std::sort(entries.begin(), entries.end(),
            [](const Property* a, const Property* b) { return name_less(a->name, b->name); });
        m_out.align(4);
        const std::uint32_t first = m_out.size();
        for (const Property* p : entries)
            write_entry(*p);
        return { first, m_out.size() };
    }

    void write_entry(const Property& p)
    {
        const auto name = static_cast<std::uint16_t>(m_out.text_offset(p.name));
        const std::uint32_t at = m_out.reserve(entry_size(p.table));
        switch (p.table) {
        case Table::integers:
            m_out.put(at, IntegerNode { name, 0, p.integer });
            break;
        case Table::points:
            m_out.put(at, PointNode { name, p.x, p.y });
            break;
        case Table::strings:
            m_out.put(at, StringNode { name, static_cast<std::uint16_t>(m_out.text_offset(p.text)) });
            break;
        case Table::pictures: {
            PictureNode node { name, {}, p.picture, static_cast<std::uint8_t>(p.stretch ? 1 : 0) };
            std::copy(std::begin(p.points), std::end(p.points), node.points);
            m_out.put(at, node);
            break;
        }
        case Table::colors:
            m_out.put(at, ColorNode { name, { p.color[0], p.color[1], p.color[2], p.color[3] } });
            break;
        case Table::fonts:
            m_out.put(at, FontNode { name, 0, p.font });
            break;
        }
    }

    void write_record_names()
    {
        for (const auto& [record, name] : m_names)
            m_out.put(record + 4 * name_word, m_out.text(name));
    }

    void write_string_table()
    {
        m_out.align(2);
        m_out.put(strings_at, m_out.size());
        for (const std::u16string& picture : m_skin.pictures)
            m_out.append_text(picture);
        for (const std::u16string& font : m_skin.fonts)
            m_out.append_text(font);
    }

    const SkinSource& m_skin;
    Writer m_out;
    std::vector<std::pair<std::uint32_t, std::u16string>> m_names;
};

}

LayoutResult lay_out(const SkinSource& skin)
{
    LayoutResult result;
    try {
        result.bytes = Layout(skin).build();
    } catch (const Overflow& overflow) {
        result.error = overflow.message;
        return result;
    }
    // The loader's own checks, as a guard against a layout fault here.
    if (!skinner::SkinFile(result.bytes.data(), result.bytes.size()).is_valid())
        result.error = "internal error: the laid-out skin fails the loader's checks";
    return result;
}

}
