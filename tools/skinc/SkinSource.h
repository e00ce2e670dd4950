#pragma once

#include "skinner/skin/SkinFormat.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace skinc {

// One property of a record, of one of the six tables.
struct Property {
    skinner::skin_format::Table table = skinner::skin_format::Table::integers;
    std::u16string name;
    int line = 0;
    std::int32_t integer = 0;
    std::int16_t x = 0, y = 0;
    std::u16string text;
    // Source left, top, inner left, top, inner right, bottom, source right, bottom.
    std::uint16_t points[8] {};
    std::uint8_t picture = 0;
    bool stretch = false;
    std::uint8_t color[4] {};
    std::uint32_t font = 0;
};

// A form variant, a control or a kind.
struct Record {
    std::u16string name;
    int line = 0;
    std::vector<Property> properties;
};

struct Form : Record {
    std::u16string form_name; // what the program asks for; the record's name begins with it
    std::vector<Record> controls;
    std::vector<std::pair<std::u16string, std::u16string>> templates; // control, type
};

struct SkinSize {
    std::uint32_t width = 0, height = 0;
};

// A skin as its source describes it, checked for everything that the
// loader or the lookups would refuse or get wrong.
struct SkinSource {
    std::u16string name;
    std::u16string devices;
    std::vector<SkinSize> sizes;
    std::vector<std::u16string> pictures; // file names without extension, by picture index
    std::vector<std::u16string> fonts; // descriptions, by font index
    std::vector<Form> forms;
    std::vector<Record> kinds;
};

struct ParseResult {
    SkinSource skin;
    std::string error; // "line N: what", empty on success
};

// Reads the XML source. With a picture folder, every picture must be a file
// there (".png", ".bmp", ".gif" or ".jpg"), and a PNG one must decode.
ParseResult parse_skin(std::string_view xml, const std::string& picture_folder = {});

}
