#include "app/explorer/BookmarksForm.h"

#include "audio/readers/FileReader.h"
#include "model/RangeMarkList.h"

#include <algorithm>
#include <set>
#include <utility>

BookmarksForm::BookmarksForm(skinner::Form* owner, skinner::Properties& properties, std::u16string_view form_name,
    audio::FileReader& reader, std::u16string_view title)
    : Form(owner, properties, form_name)
    , m_grid(*this, u"grdBookmarks")
    , m_ok(*this, u"btnOk")
    , m_up(*this, u"btnUp")
    , m_down(*this, u"btnDown")
    , m_delete(*this, u"btnDelete")
    , m_edit(*this, u"btnEdit")
    , m_go(*this, u"btnGo")
    , m_name(*this, u"frmName")
    , m_reader(reader)
    , m_total(reader.get_length_bytes())
    , m_range(*this, u"Range", skinner::ControlMode::named, m_grid, m_total)
{
    m_name.set_text(title);
}

BookmarksForm::~BookmarksForm() = default;

std::int64_t BookmarksForm::edit(RangeMarkList& list)
{
    list.add(0, u"Start");
    auto& rows = m_grid.items;
    rows.clear();
    const std::vector<int>& order = list.play_order();
    for (int slot = 0; slot < list.play_count(); ++slot) {
        const RangeMark& mark = list.play_mark(slot);
        rows.push_back(make_row(mark.position, list.play_length(slot, m_total), mark.name, true));
    }
    for (int index = 0; index < list.mark_count(); ++index) {
        if (std::find(order.begin(), order.end(), index) != order.end())
            continue;
        const RangeMark& mark = list.mark(index);
        rows.push_back(make_row(mark.position, list.mark_length(index, m_total), mark.name, false));
    }
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.start < b.start; });
    m_grid.refresh();
    m_grid.unselect_all();
    update_buttons();

    do_modal();

    list = RangeMarkList();
    for (const RangeGridRow& row : rows)
        list.insert(row.start, row.name, row.played);
    return m_chosen;
}

RangeGridRow BookmarksForm::make_row(
    std::int64_t start, std::int64_t length, const std::u16string& name, bool played) const
{
    RangeGridRow row;
    row.start = start;
    row.name = name;
    row.played = played;
    set_length(row, length);
    return row;
}

void BookmarksForm::set_length(RangeGridRow& row, std::int64_t length) const
{
    row.length = length;
    row.start_text = RangeGrid::time_text(m_reader.bytes_to_time(row.start));
    row.end_text = RangeGrid::time_text(m_reader.bytes_to_time(row.start + length));
}

std::optional<std::int32_t> BookmarksForm::single_selection() const
{
    const auto& selected = m_grid.selected_rows();
    if (selected.size() != 1)
        return std::nullopt;
    return *selected.begin();
}

bool BookmarksForm::on_click(skinner::Control& sender)
{
    if (&sender == &m_ok) {
        close();
        return true;
    }
    if (&sender == &m_delete) {
        delete_selected();
        return true;
    }
    const std::optional<std::int32_t> row = single_selection();
    const auto count = static_cast<std::int32_t>(m_grid.items.size());
    if (!row)
        return false;
    if (&sender == &m_up && *row >= 1 && *row < count) {
        move_row(*row, *row - 1);
        return true;
    }
    if (&sender == &m_down && *row >= 0 && *row < count - 1) {
        move_row(*row, *row + 1);
        return true;
    }
    if (&sender == &m_edit && *row < count) {
        skinner::ControlEdit& box = m_grid.edit_box();
        box.set_text(m_grid.items[std::size_t(*row)].name);
        box.set_selection(0, std::int32_t(box.get_text().size()));
        m_grid.start_inplace_edit(box, RangeGrid::column_name, *row);
        return true;
    }
    if (&sender == &m_go && *row < count) {
        m_chosen = m_grid.items[std::size_t(*row)].start;
        close();
        return true;
    }
    return false;
}

void BookmarksForm::move_row(std::int32_t from, std::int32_t to)
{
    std::swap(m_grid.items[std::size_t(from)], m_grid.items[std::size_t(to)]);
    m_grid.select_only(to);
    m_grid.refresh();
}

// The segment before a deleted bookmark (by position) runs on to the next
// bookmark that is left.
void BookmarksForm::delete_selected()
{
    auto& rows = m_grid.items;
    const std::set<std::int32_t> selected = m_grid.selected_rows();
    std::int32_t removed = 0;
    for (const std::int32_t index : selected) {
        const std::int32_t current = index - removed;
        if (current < 0 || std::size_t(current) >= rows.size())
            continue;
        const std::int64_t start = rows[std::size_t(current)].start;
        rows.erase(rows.begin() + current);
        ++removed;
        RangeGridRow* before = nullptr;
        for (RangeGridRow& row : rows) {
            if (row.start < start && (!before || row.start > before->start))
                before = &row;
        }
        if (!before)
            continue;
        std::int64_t next = m_total;
        for (const RangeGridRow& row : rows) {
            if (row.start > before->start)
                next = std::min(next, row.start);
        }
        set_length(*before, next - before->start);
    }
    m_grid.unselect_all();
    m_grid.refresh();
}

bool BookmarksForm::on_item_click(skinner::Control& sender, const skinner::GridCellEvent& cell)
{
    if (&sender != &m_grid || cell.column != RangeGrid::column_check || cell.row < 0
        || std::size_t(cell.row) >= m_grid.items.size())
        return false;
    m_grid.items[std::size_t(cell.row)].played = !m_grid.items[std::size_t(cell.row)].played;
    m_grid.invalidate();
    return true;
}

bool BookmarksForm::on_inplace_edit_end(skinner::Control& sender, const skinner::GridInplaceEditEnd& cell)
{
    if (&sender != &m_grid)
        return false;
    if (cell.commit && cell.row >= 0 && std::size_t(cell.row) < m_grid.items.size()) {
        m_grid.items[std::size_t(cell.row)].name = m_grid.edit_box().get_text();
        m_grid.invalidate();
    }
    return true;
}

bool BookmarksForm::on_selection_changed(skinner::Control& sender)
{
    if (&sender != &m_grid)
        return false;
    update_buttons();
    return true;
}

void BookmarksForm::update_buttons()
{
    const std::optional<std::int32_t> row = single_selection();
    const auto count = static_cast<std::int32_t>(m_grid.items.size());
    m_up.set_enabled(row && *row >= 1 && *row < count);
    m_down.set_enabled(row && *row >= 0 && *row < count - 1);
    m_delete.set_enabled(!m_grid.selected_rows().empty());
    m_edit.set_enabled(row.has_value());
    m_go.set_enabled(row.has_value());
    m_range.invalidate();
}
