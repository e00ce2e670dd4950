#pragma once

#include "skinner/widgets/lists/GridEvents.h"
#include "skinner/core/KeyCode.h"
#include "skinner/graphics/Point.h"

#include <cstdint>

namespace skinner {

class Control;

// The selection policy of a list. A list inherits it virtually beside its
// grid, so the grid asks the strategy what is selected and hands it cell
// gestures and keys, and the strategy calls back into the grid for the
// notifications and the scrolling through the same table.
class GridSelectionStrategy {
public:
    virtual ~GridSelectionStrategy() = default;

    // Supplied by the list.
    virtual std::int32_t get_item_count() const = 0;
    virtual std::int32_t get_column_count() const = 0;

    virtual bool is_selected(std::int32_t column, std::int32_t row) const = 0;
    // cell_point is relative to the cell, point is the pen; painter is the
    // control that saw the gesture.
    virtual void on_cell_pen_down(std::int32_t column, std::int32_t row, Point cell_point, Point point, Control& painter) = 0;
    virtual void on_cell_pen_move(std::int32_t column, std::int32_t row, Point cell_point, Point point, Control& painter) = 0;
    virtual void on_cell_pen_up(std::int32_t column, std::int32_t row, Point cell_point, Point point, Control& painter) = 0;
    virtual void on_cell_context_down(std::int32_t column, std::int32_t row) = 0;
    virtual void on_cell_context_up(std::int32_t column, std::int32_t row) = 0;
    // Rows after position are the ones that move.
    virtual void on_items_inserted(std::int32_t /*position*/, std::int32_t /*count*/) { }
    virtual void on_items_removed(std::int32_t /*position*/, std::int32_t /*count*/) { }
    virtual void set_highlight(std::int32_t column, std::int32_t row) = 0;
    virtual bool is_highlighted(std::int32_t column, std::int32_t row) const = 0;
    virtual std::int32_t get_highlight_column() const = 0;
    virtual std::int32_t get_highlight_row() const = 0;
    virtual GridCell get_current_cell() const = 0;
    // True when the key was used.
    virtual bool on_key(KeyCode key) = 0;

    // Supplied by the grid.
    virtual void notify_selection_changed() = 0;
    virtual void notify_highlight_changed() = 0;
    virtual void scroll_column_into_view(std::int32_t column) = 0;
    virtual void ensure_visible(std::int32_t row) = 0;
};

}
