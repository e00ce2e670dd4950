#include "skinner/skin/PropertiesImpl.h"

#include "liba/Conversion.h"
#include "liba/Path.h"
#include "liba/ZipFile.h"
#include "os/File.h"
#include "os/Log.h"
#include "skinner/graphics/ReadBytes.h"
#include "skinner/skin/WorkArea.h"

#include <algorithm>
#include <memory>

namespace skinner {

using namespace skin_format;

namespace {

// Offsets are 32-bit: nothing beyond them can be a skin.
constexpr std::uint64_t largest_skin = 0xFFFFFFFF;

void log_entry_sizes()
{
    struct Entry {
        const char* name;
        std::size_t size, declared;
    };

    const Entry entries[] = {
        { "IntegerNode", sizeof(IntegerNode), IntegerNode::Size },
        { "PointNode", sizeof(PointNode), PointNode::Size },
        { "ColorNode", sizeof(ColorNode), ColorNode::Size },
        { "StringNode", sizeof(StringNode), StringNode::Size },
        { "PictureNode", sizeof(PictureNode), PictureNode::Size },
    };
    auto& log = os::log();
    for (const Entry& e : entries) {
        const std::u16string name = liba::to_wide(e.name);
        log << u"sizeof(" + name + u")=" + liba::number_text(static_cast<std::int64_t>(e.size)) + u"\n";
        log << name + u"::Size=" + liba::number_text(static_cast<std::int64_t>(e.declared)) + u"\n";
    }
}

// The first member of the archive whose extension is "skin", or the plain
// file when the path is no archive or holds none: its first count bytes, or
// all of them for no count. False when fewer came.
bool read_skin_bytes(const std::u16string& path, std::optional<std::uint64_t> count,
    std::vector<std::uint8_t>& bytes, bool& from_archive)
{
    auto read = [&](liba::ResourceReader& stream) {
        const std::uint64_t size = stream.size();
        if (!count && size > largest_skin)
            return false;
        return read_bytes(stream, count ? std::min(*count, size) : size, bytes);
    };
    liba::ZipFile zip(std::make_unique<os::File>(path, os::File::Mode::read));
    for (std::u16string name = zip.next_entry(); !name.empty(); name = zip.next_entry()) {
        if (liba::names_equal(liba::get_extension(name), u"skin")) {
            from_archive = true;
            return read(zip);
        }
    }
    from_archive = false;
    os::File file(path, os::File::Mode::read);
    return read(file);
}

[[noreturn]] void report(std::u16string_view location, const std::u16string& message)
{
    os::fatal_error(location, message);
}

}

PropertiesImpl::PropertiesImpl() = default;

PropertiesImpl::PropertiesImpl(const std::u16string& path, Size screen)
    : m_work_area(work_area_slot().get().size(screen))
    , m_screen(screen)
    , m_path(path)
{
    log_entry_sizes();
    if (!read_file())
        return;
    m_valid = m_file.is_valid();
    if (!m_valid)
        return;
    choose_scale();
    m_valid = load_pictures_and_fonts();
}

bool PropertiesImpl::read_file()
{
    std::vector<std::uint8_t> bytes;
    bool from_archive = false;
    if (!read_skin_bytes(m_path, std::nullopt, bytes, from_archive)) {
        os::log() << u"Error: skin [" + m_path
                + (from_archive ? u"] failed to load from archive\n" : u"] failed to load\n");
        return false;
    }
    m_file = SkinFile(bytes.data(), bytes.size());
    return true;
}

// The scale of an exact fit; otherwise the one that leaves the least unused
// width, then height, on the screen.
void PropertiesImpl::choose_scale()
{
    const Size first = m_file.size_record(0);
    if (m_screen == Size {} || first.width == 0 || first.height == 0)
        return;
    const VersionMatch match = skinner::check_version(m_file, u"", m_screen);
    if (match.ok) {
        m_scale = match.scale;
        return;
    }
    std::int64_t best = (std::int64_t { m_screen.width } + 1) * m_screen.height;
    for (std::uint32_t scale = 1; scale <= 4; ++scale)
        for (std::size_t i = 0; i < size_records; ++i) {
            const Size record = m_file.size_record(i);
            const std::int64_t dx
                = m_screen.width - std::int64_t { static_cast<std::uint32_t>(record.width) } * scale;
            const std::int64_t dy
                = m_screen.height - std::int64_t { static_cast<std::uint32_t>(record.height) } * scale;
            if (dx < 0 || dy < 0)
                continue;
            const std::int64_t cost = dx * m_screen.height + dy;
            if (cost < best) {
                best = cost;
                m_scale = scale;
            }
        }
}

bool PropertiesImpl::load_pictures_and_fonts()
{
    const std::vector<std::u16string_view> texts = m_file.string_table();
    const std::size_t picture_count = m_file.picture_count();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::u16string text(texts[i]);
        if (i < picture_count) {
            m_pictures.emplace_back(m_path, text, false, m_scale);
            const Image* image = m_pictures.back().get_image();
            if (!image || !image->is_valid()) {
                os::log() << u"PropertiesImpl::PropertiesImpl picture failed to load {" + text + u"}\n";
                return false;
            }
        } else {
            m_fonts.emplace_back(m_scale);
            m_fonts.back().set_description(text);
        }
    }
    return true;
}

bool PropertiesImpl::check_file(const std::u16string& path, std::u16string_view version, Size screen)
{
    std::vector<std::uint8_t> bytes;
    bool from_archive = false;
    read_skin_bytes(path, header_size, bytes, from_archive);
    return skinner::check_version(SkinFile(bytes.data(), bytes.size()), version, screen).ok;
}

VersionMatch PropertiesImpl::check_version(std::u16string_view version, Size screen) const
{
    if (!m_valid)
        return {};
    return skinner::check_version(m_file, version, screen);
}

void PropertiesImpl::reset_counters()
{
    m_compare_counter = 0;
    m_property_counter = 0;
    m_found_property_counter = 0;
}

void PropertiesImpl::require_valid() const
{
    if (!m_valid)
        report(u"report_no_skin", u"Skin file {" + m_path + u"} was invalid, but no check_version performed");
}

std::uint32_t PropertiesImpl::find_record(std::u16string_view form, std::u16string_view control)
{
    ++m_property_counter;
    require_valid();
    if (form.empty()) {
        if (control.empty())
            return 0;
        if (m_kind != 0 && control == m_kind_name)
            return m_kind;
        m_kind = m_file.find_record(m_file.kinds_root(), control, m_compare_counter);
        m_kind_name = m_kind ? std::u16string(control) : std::u16string();
        if (m_kind == 0)
            report(u"report_no_form",
                u"Skin file {" + m_path + u"} has no kind {" + std::u16string(control) + u"}");
        return m_kind;
    }
    if (m_form == 0 || form != m_form_name)
        m_form = choose_variant(form);
    if (m_form != 0 && (m_control == 0 || control != m_control_name)) {
        m_control = m_file.find_record(m_file.controls_root(m_form), control, m_compare_counter);
        m_control_name = m_control ? std::u16string(control) : std::u16string();
    }
    if (m_form == 0 || m_control == 0)
        report(u"report_no_control",
            u"Skin file {" + m_path + u"} form {" + std::u16string(form) + u"} has no control {"
                + std::u16string(control) + u"}");
    return m_control;
}

std::uint32_t PropertiesImpl::find_form(std::u16string_view form)
{
    ++m_property_counter;
    require_valid();
    if (m_form == 0 || form != m_form_name)
        m_form = choose_variant(form);
    if (m_form == 0)
        report(u"report_no_form",
            u"Skin file {" + m_path + u"} has no form {" + std::u16string(form) + u"} for workarea_size="
                + liba::number_text(m_work_area.width) + u" " + liba::number_text(m_work_area.height)
                + u". list of all forms:\n" + m_form_log);
    return m_form;
}

// The widest variant that fits the area, then the tallest; among equal
// sizes the one visited last (pre-order).
std::uint32_t PropertiesImpl::choose_variant(std::u16string_view form)
{
    m_form = 0;
    m_form_name.clear();
    m_control = 0;
    m_control_name.clear();
    m_form_log.clear();
    if (form.empty())
        return 0;
    std::uint32_t chosen = 0;
    Size best;
    std::vector<std::uint32_t> pending;
    if (m_file.forms_root())
        pending.push_back(m_file.forms_root());
    while (!pending.empty()) {
        const std::uint32_t record = pending.back();
        pending.pop_back();
        if (const std::uint32_t right = m_file.right(record))
            pending.push_back(right);
        if (const std::uint32_t left = m_file.left(record))
            pending.push_back(left);
        const std::u16string name(m_file.name(record));
        if (!name.starts_with(form)) {
            m_form_log += u"-" + name + u"\n";
            continue;
        }
        const Point stored = find_point(record, u"Size").value_or(Point {});
        const Size size { static_cast<std::int32_t>(stored.x * static_cast<std::int64_t>(m_scale)),
            static_cast<std::int32_t>(stored.y * static_cast<std::int64_t>(m_scale)) };
        const std::u16string devices(find_string(record, u"Devices").value_or(u""));
        const bool full_screen = find_int(record, u"Fullscreen").value_or(0) != 0;
        m_form_log += u"+" + name + u" Size=" + liba::number_text(size.width) + u" "
            + liba::number_text(size.height) + u" Devices=" + devices;
        if (!devices_suit(devices)) {
            m_form_log += u"\n";
            continue;
        }
        m_form_log += u" good_for_device\n";
        const Size area = full_screen ? m_screen : m_work_area;
        if (size.width > area.width || size.height > area.height)
            continue;
        if (size.width < best.width || (size.width == best.width && size.height < best.height))
            continue;
        best = size;
        chosen = record;
    }
    if (chosen)
        m_form_name = form;
    return chosen;
}

std::optional<std::int32_t> PropertiesImpl::find_int(std::uint32_t record, std::u16string_view name)
{
    if (const std::uint32_t entry = m_file.find_entry(record, Table::integers, name, m_compare_counter))
        return read_node<IntegerNode>(m_file.bytes() + entry).value;
    return std::nullopt;
}

std::optional<Point> PropertiesImpl::find_point(std::uint32_t record, std::u16string_view name)
{
    if (const std::uint32_t entry = m_file.find_entry(record, Table::points, name, m_compare_counter)) {
        const auto node = read_node<PointNode>(m_file.bytes() + entry);
        return Point { node.x, node.y };
    }
    return std::nullopt;
}

std::optional<std::u16string_view> PropertiesImpl::find_string(std::uint32_t record, std::u16string_view name)
{
    if (const std::uint32_t entry = m_file.find_entry(record, Table::strings, name, m_compare_counter))
        return m_file.text(read_node<StringNode>(m_file.bytes() + entry).value);
    return std::nullopt;
}

std::optional<Picture> PropertiesImpl::find_picture(std::uint32_t record, std::u16string_view name)
{
    const std::uint32_t entry = m_file.find_entry(record, Table::pictures, name, m_compare_counter);
    if (!entry)
        return std::nullopt;
    const auto node = read_node<PictureNode>(m_file.bytes() + entry);
    Picture picture = m_pictures[node.picture];
    const auto scale = static_cast<std::int32_t>(m_scale);
    auto point = [&](int i) { return Point { node.points[2 * i] * scale, node.points[2 * i + 1] * scale }; };
    picture.set_source_top_left(point(0));
    picture.set_inner_top_left(point(1));
    picture.set_inner_bottom_right(point(2));
    picture.set_source_bottom_right(point(3));
    picture.set_stretch(node.stretch != 0);
    return picture;
}

std::optional<Color> PropertiesImpl::find_color(std::uint32_t record, std::u16string_view name)
{
    if (const std::uint32_t entry = m_file.find_entry(record, Table::colors, name, m_compare_counter)) {
        const auto node = read_node<ColorNode>(m_file.bytes() + entry);
        return Color { node.bytes[0], node.bytes[1], node.bytes[2], node.bytes[3] };
    }
    return std::nullopt;
}

std::optional<Font> PropertiesImpl::find_font(std::uint32_t record, std::u16string_view name)
{
    if (const std::uint32_t entry = m_file.find_entry(record, Table::fonts, name, m_compare_counter))
        return m_fonts[read_node<FontNode>(m_file.bytes() + entry).font];
    return std::nullopt;
}

}
