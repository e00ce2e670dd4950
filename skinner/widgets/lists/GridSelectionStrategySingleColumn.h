#pragma once

#include "skinner/widgets/lists/GridSelectionStrategyWithHighlight.h"

namespace skinner {

// One selected column (or none), as tab strips use it; rows play no part.
class GridSelectionStrategySingleColumn : public GridSelectionStrategyWithHighlight {
public:
    bool is_selected(std::int32_t column, std::int32_t row) const override;
    void on_cell_pen_down(std::int32_t column, std::int32_t row, Point cell_point, Point point, Control& painter) override;
    void on_cell_pen_move(std::int32_t column, std::int32_t row, Point cell_point, Point point, Control& painter) override;
    void on_cell_pen_up(std::int32_t, std::int32_t, Point, Point, Control&) override { }
    void on_cell_context_down(std::int32_t column, std::int32_t row) override;
    void on_cell_context_up(std::int32_t, std::int32_t) override { }
    bool is_highlighted(std::int32_t column, std::int32_t row) const override;
    GridCell get_current_cell() const override { return { m_selected_column, -1 }; }
    bool on_key(KeyCode key) override;

    // -1 for none; notifies on a change.
    void set_selected_column(std::int32_t column);
    std::int32_t get_selected_column() const { return m_selected_column; }

private:
    void select_valid(std::int32_t column);

    std::int32_t m_selected_column = -1;
};

}
