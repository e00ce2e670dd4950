#include "app/explorer/ControlListFiles.h"

#include "app/explorer/FilesFinder.h"
#include "liba/CaseMapping.h"
#include "liba/Path.h"
#include "model/FileHelpers.h"
#include "skinner/graphics/Canvas.h"
#include "skinner/graphics/Font.h"

#include <algorithm>
#include <string_view>
#include <vector>
#include <tuple>

namespace {

constexpr std::int32_t align_left = 0;
constexpr std::int32_t align_center = 1;

int group_of(const FileItem& item)
{
    return item.is_folder ? 0 : item.is_playlist ? 1 : 2;
}

// Negative, zero or positive, as the lower-case names compare.
int compare_names(const FileItem& a, const FileItem& b)
{
    return a.sort_name.compare(b.sort_name);
}

}

ControlListFiles::ControlListFiles(
    skinner::Container& container, std::u16string_view id, skinner::ControlMode mode)
    : ControlGrid(container, id, mode)
    , m_name_edit(*get_container(), u"EditInListKind", skinner::ControlMode::kind)
{
    m_name_edit.set_visible(false);
    load_widths();
    refresh();
}

// An edit still open is its owner's to end, while the owner is whole.
ControlListFiles::~ControlListFiles() = default;

void ControlListFiles::load()
{
    ControlGrid::load();
    load_widths();
    // The icons come from the new skin.
    std::vector<std::u16string> types;
    for (const auto& [type, picture] : m_types)
        types.push_back(type);
    m_types.clear();
    for (const auto& type : types)
        add_type(type);
    refresh();
}

void ControlListFiles::load_widths()
{
    const skinner::ButtonLook& normal = get_item_look(false, false);
    m_current_look = skinner::ButtonLook {
        get_property_picture(u"ItemCurrent", normal.picture),
        get_property_font(u"ItemCurrent", normal.font),
        get_property_color(u"ItemCurrent", normal.text_color),
    };
    m_icon_width = get_property_int_scaled(u"IconWidth", 0);
    m_name_width = get_property_int_scaled(u"NameWidth", 0);
    m_date_width = get_property_int_scaled(u"DateWidth", 0);
    m_size_width = get_property_int_scaled(u"SizeWidth", -1);
    m_indent_width = get_property_int_scaled(u"IndentWidth", 0);
    fit_widths_to_texts();
}

// The skin's widths are for its own fonts at one scale: the date and the size
// get at least the room of their widest texts in every look a row can take,
// and the size, the last column, keeps a gap from the edge.
void ControlListFiles::fit_widths_to_texts()
{
    std::vector<const skinner::Font*> fonts { &m_current_look.font };
    for (bool selected : { false, true })
        for (bool highlighted : { false, true })
            fonts.push_back(&get_item_look(selected, highlighted).font);
    std::int32_t date = 0;
    std::int32_t size = 0;
    for (const skinner::Font* font : fonts) {
        date = std::max(date, skinner::widest_digits_width(*font, u"00.00.00"));
        // Bytes, kilobytes and megabytes as the size texts write them, up to 9999.9 MB.
        for (std::u16string_view pattern : { u"0000B", u"0000K", u"0000,0M" })
            size = std::max(size, skinner::widest_digits_width(*font, pattern));
    }
    if (m_date_width >= 0)
        m_date_width = std::max(m_date_width, date);
    if (m_size_width >= 0)
        m_size_width = std::max(m_size_width, size + m_indent_width);
}

std::int32_t ControlListFiles::get_column_width(std::int32_t column) const
{
    switch (column) {
    case column_icon:
        return m_icon_width;
    case column_name:
        return m_name_width;
    case column_date:
        return m_date_width;
    case column_size:
        return m_size_width;
    default:
        return m_indent_width;
    }
}

void ControlListFiles::paint_item(std::int32_t column, std::int32_t row, skinner::Canvas& canvas,
    skinner::Point position, skinner::Size size, bool selected, bool highlighted)
{
    if (row < 0 || std::size_t(row) >= m_items.size())
        return;
    const skinner::ButtonLook& look
        = row == m_current ? m_current_look : get_item_look(selected, highlighted);
    look.picture.draw(canvas, position, size);
    const FileItem& item = m_items[std::size_t(row)];
    switch (column) {
    case column_icon: {
        const auto found = m_types.find(item.type);
        if (found == m_types.end())
            return;
        const skinner::Size own = found->second.get_size();
        found->second.draw(canvas,
            { position.x + (size.width - own.width) / 2, position.y + (size.height - own.height) / 2 }, own);
        return;
    }
    case column_name:
        canvas.draw_text_ellipsis(
            look.font, look.text_color, item.name, position, size, align_left, align_center);
        return;
    case column_date:
        canvas.draw_text(
            look.font, look.text_color, item.date_text, position, size, align_left, align_center);
        return;
    case column_size:
        canvas.draw_text(
            look.font, look.text_color, item.size_text, position, size, align_left, align_center);
        return;
    default:
        return;
    }
}

bool ControlListFiles::add_file(const std::u16string& path, const platform::FileStatus* status)
{
    const std::u16string type = get_lower_extension(path);
    if (!m_types.contains(type))
        return false;
    playlist::Entry entry;
    entry.path = path;
    if (status)
        m_items.emplace_back(path, type, std::move(entry), *status);
    else
        m_items.emplace_back(path, type, std::move(entry));
    return true;
}

bool ControlListFiles::add_folder(const std::u16string& path, const platform::FileStatus* status)
{
    if (!m_types.contains(std::u16string(folder_type)))
        return false;
    playlist::Entry entry;
    entry.path = liba::remove_trailing_separator(path);
    if (status)
        m_items.emplace_back(entry.path, std::u16string(folder_type), entry, *status);
    else
        m_items.emplace_back(entry.path, std::u16string(folder_type), entry);
    return true;
}

void ControlListFiles::add_item(FileItem item)
{
    m_items.push_back(std::move(item));
}

void ControlListFiles::set_folder(const std::u16string& path)
{
    end_inplace_edit(false);
    unselect_all();
    m_current = -1;
    m_folder = path;
    m_items.clear();
    scan_folder(path);
    sort();
}

void ControlListFiles::scan_folder(const std::u16string& path)
{
    FilesFinder finder(*this);
    finder.find(path, u"*", u"*", false);
    unselect_all();
    refresh();
}

void ControlListFiles::remove_rows()
{
    end_inplace_edit(false);
    unselect_all();
    m_current = -1;
    m_items.clear();
    refresh();
}

void ControlListFiles::add_type(std::u16string_view extension)
{
    const std::u16string key(extension);
    m_types[key] = get_property_picture(u"Icon" + key, {});
}

void ControlListFiles::remove_type(std::u16string_view extension)
{
    m_types.erase(std::u16string(extension));
}

void ControlListFiles::set_sort_mode(std::int32_t mode)
{
    m_sort_mode = mode;
    sort();
}

bool ControlListFiles::sorts_before(const FileItem& a, const FileItem& b, std::int32_t mode)
{
    const int ga = group_of(a);
    const int gb = group_of(b);
    if (ga != gb)
        return ga < gb;
    switch (mode) {
    case 1:
        return compare_names(a, b) < 0;
    case 4:
        return compare_names(a, b) > 0;
    case 2:
    case 5: {
        if (!a.date.is_equal(b.date))
            return mode == 2 ? a.date.is_before(b.date) : a.date.is_after(b.date);
        return compare_names(a, b) < 0;
    }
    case 3:
    case 6:
        if (a.size != b.size)
            return mode == 3 ? a.size < b.size : a.size > b.size;
        return compare_names(a, b) < 0;
    default:
        return false;
    }
}

void ControlListFiles::sort()
{
    const std::u16string current = get_current_path();
    for (std::size_t i = 0; i < m_items.size(); ++i)
        m_items[i].selected = is_row_selected(std::int32_t(i));
    const std::int32_t mode = m_sort_mode;
    std::stable_sort(m_items.begin(), m_items.end(),
        [mode](const FileItem& a, const FileItem& b) { return sorts_before(a, b, mode); });
    unselect_all();
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].selected)
            set_row_selected(std::int32_t(i), true);
    // The current row follows its file.
    if (!current.empty())
        find_file(current);
    refresh();
}

std::u16string ControlListFiles::get_selected_path() const
{
    if (selected_rows().size() != 1)
        return {};
    return item(*selected_rows().begin()).path;
}

std::vector<std::u16string> ControlListFiles::get_selected_paths() const
{
    std::vector<std::u16string> paths;
    for (std::int32_t row : selected_rows())
        if (row >= 0 && std::size_t(row) < m_items.size())
            paths.push_back(m_items[std::size_t(row)].path);
    return paths;
}

std::u16string ControlListFiles::get_current_path() const
{
    if (m_current < 0 || std::size_t(m_current) >= m_items.size())
        return {};
    return m_items[std::size_t(m_current)].path;
}

void ControlListFiles::set_current_index(std::int32_t index)
{
    m_current = index;
    invalidate();
}

std::int32_t ControlListFiles::find_file(const std::u16string& path)
{
    m_current = -1;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (!path.empty() && liba::paths_equal(m_items[i].path, path)) {
            m_current = std::int32_t(i);
            break;
        }
    }
    return m_current;
}

void ControlListFiles::scroll_into_view(std::int32_t row)
{
    if (row < 0 || row >= get_item_count())
        return;
    if (row + 1 < get_item_count())
        ensure_visible(row + 1);
    ensure_visible(row);
}

void ControlListFiles::set_current_file(const std::u16string& path)
{
    scroll_into_view(find_file(path));
    invalidate();
}

void ControlListFiles::select_file(const std::u16string& path)
{
    unselect_all();
    if (!path.empty()) {
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            if (liba::paths_equal(m_items[i].path, path)) {
                set_row_selected(std::int32_t(i), true);
                scroll_into_view(std::int32_t(i));
                break;
            }
        }
    }
    invalidate();
}

void ControlListFiles::start_naming(std::int32_t row, std::u16string_view text, bool select_text)
{
    m_name_edit.set_text(text);
    // A name being changed is selected, so typing replaces it; a proposed one
    // keeps the caret at its end, so typing goes on from it.
    const auto end = std::int32_t(m_name_edit.get_text().size());
    m_name_edit.set_selection(select_text ? 0 : end, end);
    m_name_edit.set_visible(true);
    start_inplace_edit(m_name_edit, column_name, row);
}
