#pragma once

#include "liba/StringTranslator.h"
#include "skinner/graphics/Color.h"
#include "skinner/graphics/Point.h"
#include "skinner/graphics/Size.h"
#include "skinner/graphics/Font.h"
#include "skinner/skin/Picture.h"
#include "skinner/skin/SkinFile.h"
#include "skinner/skin/VersionCheck.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace skinner {

// A loaded skin file: its bytes, checked once at load and then read in
// place, the display scale chosen for the screen, its pictures and fonts,
// and the lookups of forms, controls, kinds and their properties. A file
// that fails any check leaves the skin invalid; nothing is thrown. Lookups
// that find no form, control or kind end the program with a fatal report;
// a missing property gives nothing (the caller's default). The base
// translator is not used: it lets a skin stand where one is expected.
class PropertiesImpl : public liba::StringTranslator {
public:
    // No skin: invalid, scale 1.
    PropertiesImpl();
    // Loads a plain skin file, or the first member named "*.skin" of a zip archive at the path.
    PropertiesImpl(const std::u16string& path, Size screen);

    // Reads only the header of the skin at the path (plain or in an archive)
    // and checks it and its version.
    static bool check_file(const std::u16string& path, std::u16string_view version, Size screen);

    bool is_valid() const { return m_valid; }

    // False without a valid skin.
    VersionMatch check_version(std::u16string_view version, Size screen) const;

    const std::u16string& path() const { return m_path; }

    std::uint32_t scale() const { return m_scale; }

    const SkinFile& file() const { return m_file; }

    const std::vector<Picture>& pictures() const { return m_pictures; }

    const std::vector<Font>& fonts() const { return m_fonts; }

    // The record of a control in the chosen variant of a form, or with an
    // empty form the record of a kind; 0 for an empty kind name.
    std::uint32_t find_record(std::u16string_view form, std::u16string_view control);
    // The chosen variant of a form.
    std::uint32_t find_form(std::u16string_view form);

    // A record's properties as stored: points unscaled, pictures with scaled points.
    std::optional<std::int32_t> find_int(std::uint32_t record, std::u16string_view name);
    std::optional<Point> find_point(std::uint32_t record, std::u16string_view name);
    std::optional<std::u16string_view> find_string(std::uint32_t record, std::u16string_view name);
    std::optional<Picture> find_picture(std::uint32_t record, std::u16string_view name);
    std::optional<Color> find_color(std::uint32_t record, std::u16string_view name);
    std::optional<Font> find_font(std::uint32_t record, std::u16string_view name);

    std::uint32_t compare_counter() const { return m_compare_counter; }

    std::uint32_t property_counter() const { return m_property_counter; }

    std::uint32_t found_property_counter() const { return m_found_property_counter; }

    void reset_counters();

    // The last form-variant choice, one line per form record.
    const std::u16string& form_choice_log() const { return m_form_log; }

private:
    bool read_file();
    void choose_scale();
    bool load_pictures_and_fonts();
    std::uint32_t choose_variant(std::u16string_view form);
    void require_valid() const;

    std::uint32_t m_compare_counter = 0;
    std::uint32_t m_property_counter = 0;
    std::uint32_t m_found_property_counter = 0;
    Size m_work_area;
    Size m_screen;
    SkinFile m_file;
    bool m_valid = false;
    std::vector<Picture> m_pictures;
    std::vector<Font> m_fonts;

    std::uint32_t m_form = 0;
    std::u16string m_form_name;
    std::uint32_t m_control = 0;
    std::u16string m_control_name;
    std::uint32_t m_kind = 0;
    std::u16string m_kind_name;

    std::u16string m_path;
    std::uint32_t m_scale = 1;
    std::u16string m_form_log;
};

}
