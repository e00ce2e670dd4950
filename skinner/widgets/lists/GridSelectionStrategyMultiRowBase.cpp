#include "skinner/widgets/lists/GridSelectionStrategyMultiRowBase.h"

#include <algorithm>

namespace skinner {

bool GridSelectionStrategyMultiRowBase::is_selected(std::int32_t, std::int32_t row) const
{
    return m_selected.contains(row);
}

bool GridSelectionStrategyMultiRowBase::is_highlighted(std::int32_t, std::int32_t row) const
{
    return row == get_highlight_row();
}

GridCell GridSelectionStrategyMultiRowBase::get_current_cell() const
{
    if (m_selected.empty())
        return { -1, -1 };
    return { -1, *m_selected.begin() };
}

void GridSelectionStrategyMultiRowBase::unselect_all()
{
    if (m_selected.empty())
        return;
    m_selected.clear();
    notify_selection_changed();
}

void GridSelectionStrategyMultiRowBase::set_row_selected(std::int32_t row, bool selected)
{
    if (row < 0 || row >= get_item_count())
        return;
    bool changed = selected ? m_selected.insert(row).second : m_selected.erase(row) > 0;
    if (changed)
        notify_selection_changed();
}

void GridSelectionStrategyMultiRowBase::select_only(std::int32_t row)
{
    if (m_selected.size() == 1 && *m_selected.begin() == row)
        return;
    bool changed = !m_selected.empty();
    m_selected.clear();
    if (row >= 0 && row < get_item_count()) {
        m_selected.insert(row);
        changed = true;
    }
    if (changed)
        notify_selection_changed();
}

void GridSelectionStrategyMultiRowBase::select_range(std::int32_t first, std::int32_t last)
{
    std::int32_t count = get_item_count();
    if (count <= 0)
        return;
    if (first > last)
        std::swap(first, last);
    std::int32_t a = std::max(first, 0);
    std::int32_t b = last < 0 ? 0 : std::min(last, count - 1);
    bool changed = false;
    if (!m_selected.empty() && (*m_selected.begin() < a || *m_selected.rbegin() > b)) {
        m_selected.clear();
        changed = true;
    }
    for (std::int32_t row = a; row <= b; ++row)
        changed = m_selected.insert(row).second || changed;
    if (changed)
        notify_selection_changed();
}

void GridSelectionStrategyMultiRowBase::add_rows(std::span<const std::int32_t> rows)
{
    bool changed = false;
    for (std::int32_t row : rows)
        changed = m_selected.insert(row).second || changed;
    if (changed)
        notify_selection_changed();
}

void GridSelectionStrategyMultiRowBase::on_items_inserted(std::int32_t position, std::int32_t count)
{
    auto moved = m_selected.upper_bound(position);
    if (moved == m_selected.end())
        return;
    std::set<std::int32_t> kept(m_selected.begin(), moved);
    for (auto row = moved; row != m_selected.end(); ++row)
        kept.insert(*row + count);
    m_selected = std::move(kept);
    notify_selection_changed();
}

void GridSelectionStrategyMultiRowBase::on_items_removed(std::int32_t position, std::int32_t count)
{
    auto after = m_selected.upper_bound(position);
    if (after == m_selected.end())
        return;
    std::set<std::int32_t> kept(m_selected.begin(), after);
    for (auto row = after; row != m_selected.end(); ++row) {
        if (*row > position + count)
            kept.insert(*row - count);
    }
    m_selected = std::move(kept);
    notify_selection_changed();
}

}
