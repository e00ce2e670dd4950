#pragma once

#include "skinner/graphics/Size.h"
#include "skinner/skin/SkinFormat.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace skinner {

// The bytes of a skin file and the checks that make them safe to read in
// place. A skin is outside input: is_valid() holds only when every offset,
// count, table range, text and tree link stays inside the file, every tree is
// a search tree by name (so it has no cycle), every table is sorted without
// duplicates, and every picture or font index names one of the file's.
// Readers other than the header checks assume a valid file.
class SkinFile {
public:
    SkinFile() = default;
    SkinFile(const std::uint8_t* bytes, std::size_t count);

    std::size_t size() const { return m_size; }

    // At least a header, the magic, and the name and devices fields each
    // ended by a zero unit with only zeros after it.
    bool has_valid_header() const;
    // The header and everything it leads to.
    bool is_valid() const;

    std::u16string_view skin_name() const;
    std::u16string_view devices() const;

    std::uint32_t forms_root() const { return word(skin_format::forms_root_at); }

    std::uint32_t kinds_root() const { return word(skin_format::kinds_root_at); }

    std::uint32_t picture_count() const { return word(skin_format::picture_count_at); }

    std::uint32_t font_count() const { return word(skin_format::font_count_at); }

    Size size_record(std::size_t index) const;
    // The picture names, then the font descriptions.
    std::vector<std::u16string_view> string_table() const;

    // Records: forms, kinds and controls, by offset; 0 is none.
    std::uint32_t left(std::uint32_t record) const { return record_word(record, skin_format::left_word); }

    std::uint32_t right(std::uint32_t record) const { return record_word(record, skin_format::right_word); }

    std::u16string_view name(std::uint32_t record) const;
    // The table's first entry and the offset behind its last.
    std::pair<std::uint32_t, std::uint32_t> table(std::uint32_t record, skin_format::Table table) const;
    std::uint32_t controls_root(std::uint32_t form) const;
    std::uint32_t template_count(std::uint32_t form) const;
    // The control name and type name of a template entry.
    std::pair<std::u16string_view, std::u16string_view> template_entry(
        std::uint32_t form, std::uint32_t index) const;

    // The text at an offset.
    std::u16string_view text(std::uint32_t offset) const;

    const std::uint8_t* bytes() const { return reinterpret_cast<const std::uint8_t*>(m_units.data()); }

    // Searches a tree for a name, counting the comparisons; 0 when missing.
    std::uint32_t find_record(std::uint32_t root, std::u16string_view name, std::uint32_t& comparisons) const;
    // Searches a record's table by halving, counting the comparisons; 0 when missing.
    std::uint32_t find_entry(std::uint32_t record, skin_format::Table table, std::u16string_view name,
        std::uint32_t& comparisons) const;

private:
    class Checker;

    std::uint32_t word(std::size_t at) const { return skin_format::read_u32(bytes() + at); }

    std::uint32_t record_word(std::uint32_t record, std::size_t index) const
    {
        return word(record + 4 * index);
    }

    std::u16string_view header_text(std::size_t at) const;

    // Units keep texts aligned for reading in place; the size counts bytes.
    std::vector<char16_t> m_units;
    std::size_t m_size = 0;
};

}
