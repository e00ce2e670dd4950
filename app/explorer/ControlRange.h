#pragma once

#include "skinner/core/Control.h"
#include "skinner/skin/Picture.h"

#include <cstdint>

class RangeGrid;

// A strip that shows, over the whole length of a recording, the segments of
// the rows selected in the bookmarks grid.
class ControlRange : public skinner::Control {
public:
    ControlRange(skinner::Container& container, std::u16string_view id, skinner::ControlMode mode,
        const RangeGrid& grid, std::int64_t total);
    ~ControlRange() override;

    void paint(skinner::Canvas& canvas, skinner::Point area_position, skinner::Size area_size) override;
    void load() override;

private:
    void load_pictures();

    skinner::Picture m_background;
    skinner::Picture m_range;
    const RangeGrid& m_grid;
    std::int64_t m_total;
};
