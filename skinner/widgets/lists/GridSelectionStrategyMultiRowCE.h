#pragma once

#include "skinner/widgets/lists/GridSelectionStrategyMultiRowBase.h"

namespace skinner {

// Multiple rows the touch-screen way: a tap selects one row, a drag selects
// the rows between the first pressed and the one under the pen, and a
// tap-and-hold on a selected row keeps the selection for its menu.
class GridSelectionStrategyMultiRowCE : public GridSelectionStrategyMultiRowBase {
public:
    void on_cell_pen_down(std::int32_t column, std::int32_t row, Point cell_point, Point point, Control& painter) override;
    void on_cell_pen_move(std::int32_t column, std::int32_t row, Point cell_point, Point point, Control& painter) override;
    void on_cell_pen_up(std::int32_t, std::int32_t, Point, Point, Control&) override { }
    void on_cell_context_down(std::int32_t column, std::int32_t row) override;
    void on_cell_context_up(std::int32_t, std::int32_t) override { }
    bool on_key(KeyCode key) override;

private:
    std::int32_t m_anchor_row = -1;
};

}
