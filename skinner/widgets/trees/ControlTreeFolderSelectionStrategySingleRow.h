#pragma once

#include "skinner/widgets/trees/ControlTreeFolder.h"
#include "skinner/widgets/lists/GridSelectionStrategySingleRow.h"

namespace skinner {

// The folder tree with one selected row. Left collapses the current folder
// or goes to its parent, Right expands it or goes to its first sub-folder;
// a press on a row's expand box selects the row before it toggles.
class ControlTreeFolderSelectionStrategySingleRow : public ControlTreeFolder, public GridSelectionStrategySingleRow {
public:
    using ControlTreeFolder::ControlTreeFolder;

    bool on_keydown(KeyCode key) override;
    void on_row_indent_pressed(const GridCellEvent& event) override;
    // The row of the node, selected and scrolled into view; none selects nothing.
    void select_node(const ControlTree::Node* node);

private:
    void go_left(std::int32_t row, ControlTree::Node& node);
    void go_right(std::int32_t row, ControlTree::Node& node);
};

}
