#include "skinner/skin/SkinFile.h"

#include <algorithm>
#include <optional>
#include <set>
#include <tuple>

namespace skinner {

using namespace skin_format;

namespace {

constexpr std::size_t words_of(std::size_t count)
{
    return 4 * count;
}

// The zero rule of the header's texts: a zero unit among the 32, and only zeros after it.
bool text_field_ok(const char16_t* units)
{
    const char16_t* end = units + text_units;
    const char16_t* zero = std::find(units, end, u'\0');
    return zero != end && std::all_of(zero, end, [](char16_t c) { return c == 0; });
}

}

SkinFile::SkinFile(const std::uint8_t* bytes, std::size_t count)
    : m_units((count + 1) / 2 + 1, u'\0')
    , m_size(count)
{
    if (count)
        std::memcpy(m_units.data(), bytes, count);
}

bool SkinFile::has_valid_header() const
{
    if (m_size < header_size)
        return false;
    const char16_t* units = m_units.data();
    return std::equal(std::begin(magic), std::end(magic), units + magic_at / 2)
        && text_field_ok(units + name_at / 2) && text_field_ok(units + devices_at / 2);
}

std::u16string_view SkinFile::header_text(std::size_t at) const
{
    return m_units.data() + at / 2;
}

std::u16string_view SkinFile::skin_name() const
{
    return header_text(name_at);
}

std::u16string_view SkinFile::devices() const
{
    return header_text(devices_at);
}

Size SkinFile::size_record(std::size_t index) const
{
    const std::size_t at = sizes_at + index * size_record_bytes;
    return { static_cast<std::int32_t>(word(at)), static_cast<std::int32_t>(word(at + 4)) };
}

std::vector<std::u16string_view> SkinFile::string_table() const
{
    std::vector<std::u16string_view> texts;
    std::uint32_t at = word(strings_at);
    const std::uint64_t count = std::uint64_t { picture_count() } + font_count();
    for (std::uint64_t i = 0; i < count; ++i) {
        texts.push_back(text(at));
        at += static_cast<std::uint32_t>(2 * (texts.back().size() + 1));
    }
    return texts;
}

std::u16string_view SkinFile::text(std::uint32_t offset) const
{
    return m_units.data() + offset / 2;
}

std::u16string_view SkinFile::name(std::uint32_t record) const
{
    return text(record_word(record, name_word));
}

std::pair<std::uint32_t, std::uint32_t> SkinFile::table(std::uint32_t record, Table table) const
{
    const std::size_t first = tables_word + 2 * static_cast<std::size_t>(table);
    return { record_word(record, first), record_word(record, first + 1) };
}

std::uint32_t SkinFile::controls_root(std::uint32_t form) const
{
    return record_word(form, controls_word);
}

std::uint32_t SkinFile::template_count(std::uint32_t form) const
{
    return record_word(form, template_count_word);
}

std::pair<std::u16string_view, std::u16string_view> SkinFile::template_entry(
    std::uint32_t form, std::uint32_t index) const
{
    const std::uint8_t* entry = bytes() + form + words_of(form_record_words) + template_entry_bytes * index;
    return { text(read_u16(entry)), text(read_u16(entry + 2)) };
}

std::uint32_t SkinFile::find_record(
    std::uint32_t root, std::u16string_view name, std::uint32_t& comparisons) const
{
    std::uint32_t record = root;
    while (record != 0) {
        ++comparisons;
        const int order = compare_names(name, this->name(record));
        if (order == 0)
            return record;
        record = order < 0 ? left(record) : right(record);
    }
    return 0;
}

std::uint32_t SkinFile::find_entry(
    std::uint32_t record, Table table, std::u16string_view name, std::uint32_t& comparisons) const
{
    const auto [first, behind] = this->table(record, table);
    const std::size_t size = entry_size(table);
    std::size_t low = 0, high = (behind - first) / size;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        const auto entry = static_cast<std::uint32_t>(first + middle * size);
        ++comparisons;
        const int order = compare_names(name, text(read_u16(bytes() + entry)));
        if (order == 0)
            return entry;
        if (order < 0)
            high = middle;
        else
            low = middle + 1;
    }
    return 0;
}

// Walks everything the header leads to and checks it against the file.
class SkinFile::Checker {
public:
    explicit Checker(const SkinFile& file)
        : m_file(file)
    {
        const char16_t* units = file.m_units.data();
        for (std::size_t i = file.size() / 2; i > 0; --i)
            if (units[i - 1] == 0) {
                m_zeros_end = 2 * i;
                break;
            }
    }

    bool check()
    {
        return check_string_table() && check_tree(m_file.forms_root(), true)
            && check_tree(m_file.kinds_root(), false);
    }

private:
    // An even offset inside the file with a zero unit before its end.
    bool text_ok(std::uint64_t offset) const { return offset % 2 == 0 && offset < m_zeros_end; }

    // A part of the file after the header.
    bool range_ok(std::uint64_t offset, std::uint64_t length) const
    {
        return offset >= header_size && offset <= m_file.size() && length <= m_file.size() - offset;
    }

    bool check_string_table() const
    {
        std::uint64_t at = m_file.word(strings_at);
        const std::uint64_t count = std::uint64_t { m_file.picture_count() } + m_file.font_count();
        for (std::uint64_t i = 0; i < count; ++i) {
            if (!text_ok(at))
                return false;
            at += 2 * (m_file.text(static_cast<std::uint32_t>(at)).size() + 1);
        }
        return true;
    }

    // Every record of the tree with names strictly between the bounds of
    // its place: a record met twice could not satisfy both, so the walk ends.
    bool check_tree(std::uint32_t root, bool forms)
    {
        struct Place {
            std::uint32_t record;
            std::optional<std::u16string_view> above, below;
        };

        std::vector<Place> pending;
        if (root != 0)
            pending.push_back({ root, std::nullopt, std::nullopt });
        while (!pending.empty()) {
            const Place place = pending.back();
            pending.pop_back();
            if (!check_record(place.record, forms))
                return false;
            const std::u16string_view name = m_file.name(place.record);
            if ((place.above && compare_names(name, *place.above) <= 0)
                || (place.below && compare_names(name, *place.below) >= 0))
                return false;
            if (const std::uint32_t left = m_file.left(place.record))
                pending.push_back({ left, place.above, name });
            if (const std::uint32_t right = m_file.right(place.record))
                pending.push_back({ right, name, place.below });
        }
        return true;
    }

    bool check_record(std::uint32_t record, bool form)
    {
        if (!range_ok(record, words_of(form ? form_record_words : record_words)))
            return false;
        if (!text_ok(m_file.record_word(record, name_word)))
            return false;
        for (std::size_t t = 0; t < table_count; ++t)
            if (!check_table(record, static_cast<Table>(t)))
                return false;
        if (!form)
            return true;
        const std::uint64_t templates = m_file.template_count(record);
        if (!range_ok(record, words_of(form_record_words) + template_entry_bytes * templates))
            return false;
        for (std::uint64_t i = 0; i < templates; ++i) {
            const std::uint8_t* entry
                = m_file.bytes() + record + words_of(form_record_words) + template_entry_bytes * i;
            if (!text_ok(read_u16(entry)) || !text_ok(read_u16(entry + 2)))
                return false;
        }
        // Forms may share a controls tree; each tree is walked once.
        const std::uint32_t controls = m_file.controls_root(record);
        return !m_checked_trees.insert(controls).second || check_tree(controls, false);
    }

    bool check_table(std::uint32_t record, Table table)
    {
        const auto [first, behind] = m_file.table(record, table);
        if (first == behind)
            return true;
        const std::size_t size = entry_size(table);
        if (behind < first || !range_ok(first, behind - first) || (behind - first) % size != 0)
            return false;
        // Records may share a table; each table is read once.
        if (!m_checked_tables.insert({ first, behind, table }).second)
            return true;
        std::optional<std::u16string_view> previous;
        for (std::uint64_t at = first; at < behind; at += size) {
            const std::uint8_t* entry = m_file.bytes() + at;
            if (!text_ok(read_u16(entry)) || !check_entry(table, entry))
                return false;
            const std::u16string_view name = m_file.text(read_u16(entry));
            if (previous && compare_names(*previous, name) >= 0)
                return false;
            previous = name;
        }
        return true;
    }

    bool check_entry(Table table, const std::uint8_t* entry) const
    {
        switch (table) {
        case Table::strings:
            return text_ok(read_node<StringNode>(entry).value);
        case Table::pictures:
            return picture_ok(read_node<PictureNode>(entry));
        case Table::fonts:
            return read_node<FontNode>(entry).font < m_file.font_count();
        default:
            return true;
        }
    }

    // A known picture, and points in order on both axes: source, inner, inner, source.
    bool picture_ok(const PictureNode& node) const
    {
        if (node.picture >= m_file.picture_count())
            return false;
        for (int axis = 0; axis < 2; ++axis)
            for (int i = 0; i < 3; ++i)
                if (node.points[2 * i + axis] > node.points[2 * (i + 1) + axis])
                    return false;
        return true;
    }

    const SkinFile& m_file;
    // Texts must start before this offset: the end of the last zero unit.
    std::uint64_t m_zeros_end = 0;
    std::set<std::uint32_t> m_checked_trees;
    std::set<std::tuple<std::uint32_t, std::uint32_t, Table>> m_checked_tables;
};

bool SkinFile::is_valid() const
{
    return has_valid_header() && Checker(*this).check();
}

}
