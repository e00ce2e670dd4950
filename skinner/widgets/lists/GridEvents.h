#pragma once

#include "skinner/graphics/Point.h"

#include <cstdint>

namespace skinner {

// A pen or key gesture on a grid cell. cell_point is relative to the cell's
// top-left corner; point is the pen in form coordinates.
struct GridCellEvent {
    std::int32_t column = -1;
    std::int32_t row = -1;
    Point cell_point {};
    Point point {};
    std::uint32_t flags = 0;
};

// A gesture on a header cell.
struct GridHeaderEvent {
    std::int32_t column = -1;
    Point cell_point {};
    Point point {};
    std::uint32_t flags = 0;
};

// An in-place edit over a cell has ended; commit is false for a cancel.
struct GridInplaceEditEnd {
    std::int32_t column = -1;
    std::int32_t row = -1;
    bool commit = false;
};

// A cell address; -1 in either part means "none".
struct GridCell {
    std::int32_t column = -1;
    std::int32_t row = -1;

    bool operator==(const GridCell&) const = default;
};

}
