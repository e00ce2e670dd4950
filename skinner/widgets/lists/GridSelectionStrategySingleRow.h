#pragma once

#include "skinner/widgets/lists/GridSelectionStrategyWithHighlight.h"

namespace skinner {

// One selected row (or none); the pen drags it and the arrow, page, home and
// end keys move it.
class GridSelectionStrategySingleRow : public GridSelectionStrategyWithHighlight {
public:
    bool is_selected(std::int32_t column, std::int32_t row) const override;
    void on_cell_pen_down(std::int32_t column, std::int32_t row, Point cell_point, Point point, Control& painter) override;
    void on_cell_pen_move(std::int32_t column, std::int32_t row, Point cell_point, Point point, Control& painter) override;
    void on_cell_pen_up(std::int32_t, std::int32_t, Point, Point, Control&) override { }
    void on_cell_context_down(std::int32_t column, std::int32_t row) override;
    void on_cell_context_up(std::int32_t, std::int32_t) override { }
    void on_items_inserted(std::int32_t position, std::int32_t count) override;
    void on_items_removed(std::int32_t position, std::int32_t count) override;
    bool is_highlighted(std::int32_t column, std::int32_t row) const override;
    GridCell get_current_cell() const override { return { -1, m_selected_row }; }
    bool on_key(KeyCode key) override;

    // -1 for none. Notifies on a change and scrolls a valid row into view.
    void set_selected_row(std::int32_t row);
    std::int32_t get_selected_row() const { return m_selected_row; }

private:
    void select_valid(std::int32_t row);

    std::int32_t m_selected_row = -1;
};

}
