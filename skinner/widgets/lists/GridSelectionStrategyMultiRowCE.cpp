#include "skinner/widgets/lists/GridSelectionStrategyMultiRowCE.h"

#include <algorithm>

namespace skinner {

void GridSelectionStrategyMultiRowCE::on_cell_pen_down(std::int32_t, std::int32_t row, Point, Point, Control&)
{
    m_anchor_row = row;
    select_only(row);
}

void GridSelectionStrategyMultiRowCE::on_cell_pen_move(std::int32_t, std::int32_t row, Point, Point, Control&)
{
    select_range(std::min(m_anchor_row, row), std::max(m_anchor_row, row));
}

void GridSelectionStrategyMultiRowCE::on_cell_context_down(std::int32_t, std::int32_t row)
{
    if (row >= 0 && row < get_item_count() && !is_row_selected(row))
        select_only(row);
}

bool GridSelectionStrategyMultiRowCE::on_key(KeyCode key)
{
    std::int32_t count = get_item_count();
    if (count <= 0)
        return false;
    const auto& selected = selected_rows();
    std::int32_t target = 0;
    switch (key) {
    case key::down:
    case key::page_down:
        target = count - 1;
        if (!selected.empty() && *selected.rbegin() < count - 1)
            target = *selected.rbegin() + 1;
        break;
    case key::up:
    case key::page_up:
        if (!selected.empty())
            target = std::clamp(*selected.begin() - 1, 0, count - 1);
        break;
    default:
        return false;
    }
    unselect_all();
    set_row_selected(target, true);
    set_highlight(0, -1);
    ensure_visible(target);
    return true;
}

}
