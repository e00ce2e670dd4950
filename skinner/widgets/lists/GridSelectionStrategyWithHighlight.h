#pragma once

#include "skinner/widgets/lists/GridSelectionStrategy.h"

namespace skinner {

// Keeps the highlighted cell (the one under the pen); -1 for none.
class GridSelectionStrategyWithHighlight : public virtual GridSelectionStrategy {
public:
    void set_highlight(std::int32_t column, std::int32_t row) override;
    std::int32_t get_highlight_column() const override { return m_highlight_column; }
    std::int32_t get_highlight_row() const override { return m_highlight_row; }

private:
    std::int32_t m_highlight_row = -1;
    std::int32_t m_highlight_column = -1;
};

}
