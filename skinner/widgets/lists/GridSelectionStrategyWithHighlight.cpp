#include "skinner/widgets/lists/GridSelectionStrategyWithHighlight.h"

namespace skinner {

void GridSelectionStrategyWithHighlight::set_highlight(std::int32_t column, std::int32_t row)
{
    if (column == m_highlight_column && row == m_highlight_row)
        return;
    m_highlight_column = column;
    m_highlight_row = row;
    notify_highlight_changed();
}

}
