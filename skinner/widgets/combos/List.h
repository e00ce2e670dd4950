#pragma once

#include "skinner/widgets/combos/ControlComboBoxGenericInterface.h"
#include "skinner/widgets/lists/ControlGrid.h"
#include "skinner/widgets/lists/GridSelectionStrategySingleRow.h"

namespace skinner {

// The drop-down list of a combo box: it holds no items but asks its combo
// box for the count and the painting, and tells it each newly selected row.
class List : public ControlGrid, public GridSelectionStrategySingleRow {
public:
    List(Container& container, std::u16string_view kind, ControlMode mode, ControlComboBoxGenericInterface& source);

    std::int32_t get_item_count() const override { return m_source.get_item_count(); }
    std::int32_t get_column_count() const override { return m_source.get_column_count(); }
    void paint_item(std::int32_t column, std::int32_t row, Canvas& canvas, Point position, Size size, bool selected,
        bool highlighted) override;
    void notify_selection_changed() override;
    void load() override;

    std::int32_t indent() const { return m_indent; }

private:
    ControlComboBoxGenericInterface& m_source;
    std::int32_t m_indent = 0;
};

}
