#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// The layout of a binary skin file. Numbers are little-endian, offsets count
// from the file's first byte, texts are UTF-16 ended by a zero unit.
namespace skinner::skin_format {

static_assert(std::endian::native == std::endian::little, "skin entries are read in place");

inline constexpr std::size_t header_size = 540;
inline constexpr char16_t magic[4] = { 0x0421, 0x043A, 0x0438, 0x043D };
inline constexpr std::size_t text_units = 32; // the name and devices fields
inline constexpr std::size_t size_records = 32;
inline constexpr std::size_t size_record_bytes = 12; // width, height, a word never read

// Header fields.
inline constexpr std::size_t magic_at = 0;
inline constexpr std::size_t name_at = 8;
inline constexpr std::size_t forms_root_at = 72;
inline constexpr std::size_t kinds_root_at = 76;
inline constexpr std::size_t picture_count_at = 80;
inline constexpr std::size_t font_count_at = 84;
inline constexpr std::size_t strings_at = 88;
inline constexpr std::size_t sizes_at = 92;
inline constexpr std::size_t devices_at = 476;

// A record is 32-bit words: children, name, then a (first, behind last)
// pair per property table. A form goes on with its controls tree, its count
// of template entries and the entries.
inline constexpr std::size_t left_word = 0;
inline constexpr std::size_t right_word = 1;
inline constexpr std::size_t name_word = 2;
inline constexpr std::size_t tables_word = 3;
inline constexpr std::size_t controls_word = 15;
inline constexpr std::size_t template_count_word = 16;
inline constexpr std::size_t record_words = 15;
inline constexpr std::size_t form_record_words = 17;
inline constexpr std::size_t template_entry_bytes = 4; // u16 control name, u16 type name

// The tables in the order of their offset pairs.
enum class Table { integers, points, strings, pictures, colors, fonts };
inline constexpr std::size_t table_count = 6;

// Entries begin with the u16 offset of their name, so names and the texts of
// string entries lie in the first 64 KiB.
struct IntegerNode {
    static constexpr std::size_t Size = 8;
    std::uint16_t name;
    std::uint16_t unused;
    std::int32_t value;
};

struct PointNode {
    static constexpr std::size_t Size = 6;
    std::uint16_t name;
    std::int16_t x;
    std::int16_t y;
};

struct StringNode {
    static constexpr std::size_t Size = 4;
    std::uint16_t name;
    std::uint16_t value;
};

// Four points of the image at scale 1 (source top-left, inner top-left,
// inner bottom-right, source bottom-right), the picture index and whether
// the middle is stretched rather than tiled.
struct PictureNode {
    static constexpr std::size_t Size = 20;
    std::uint16_t name;
    std::uint16_t points[8];
    std::uint8_t picture;
    std::uint8_t stretch;
};

struct ColorNode {
    static constexpr std::size_t Size = 6;
    std::uint16_t name;
    std::uint8_t bytes[4];
};

struct FontNode {
    static constexpr std::size_t Size = 8;
    std::uint16_t name;
    std::uint16_t unused;
    std::uint32_t font;
};

static_assert(sizeof(IntegerNode) == IntegerNode::Size && sizeof(PointNode) == PointNode::Size
    && sizeof(StringNode) == StringNode::Size && sizeof(PictureNode) == PictureNode::Size
    && sizeof(ColorNode) == ColorNode::Size && sizeof(FontNode) == FontNode::Size);

inline constexpr std::size_t entry_sizes[table_count] = { IntegerNode::Size, PointNode::Size,
    StringNode::Size, PictureNode::Size, ColorNode::Size, FontNode::Size };

inline constexpr std::size_t entry_size(Table table)
{
    return entry_sizes[static_cast<std::size_t>(table)];
}

// The template types that a form's container makes by itself.
inline constexpr std::u16string_view template_types[]
    = { u"Auto.Button", u"Auto.Frame", u"Auto.Picture", u"Auto.Panel" };

inline std::uint32_t read_u32(const std::uint8_t* at)
{
    std::uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

inline std::uint16_t read_u16(const std::uint8_t* at)
{
    std::uint16_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

template<class Node>
Node read_node(const std::uint8_t* at)
{
    Node node;
    std::memcpy(&node, at, sizeof node);
    return node;
}

// Unit by unit as unsigned numbers; a prefix sorts first.
inline int compare_names(std::u16string_view a, std::u16string_view b)
{
    return a.compare(b) < 0 ? -1 : a == b ? 0 : 1;
}

}
