#pragma once

#include "skinner/widgets/lists/GridSelectionStrategyWithHighlight.h"

#include <set>
#include <span>

namespace skinner {

// A set of selected rows; the derived strategy decides how gestures and keys
// change it.
class GridSelectionStrategyMultiRowBase : public GridSelectionStrategyWithHighlight {
public:
    bool is_selected(std::int32_t column, std::int32_t row) const override;
    bool is_highlighted(std::int32_t column, std::int32_t row) const override;
    void on_items_inserted(std::int32_t position, std::int32_t count) override;
    void on_items_removed(std::int32_t position, std::int32_t count) override;
    // The smallest selected row, or none.
    GridCell get_current_cell() const override;

    bool is_row_selected(std::int32_t row) const { return m_selected.contains(row); }
    const std::set<std::int32_t>& selected_rows() const { return m_selected; }
    void unselect_all();
    // Rows outside the list are ignored.
    void set_row_selected(std::int32_t row, bool selected);
    // Exactly this row (none when it is outside the list).
    void select_only(std::int32_t row);
    // Exactly the rows first..last, clamped to the list.
    void select_range(std::int32_t first, std::int32_t last);
    void add_rows(std::span<const std::int32_t> rows);

private:
    std::set<std::int32_t> m_selected;
};

}
