#include "skinner/widgets/trees/ControlTreeFolderSelectionStrategySingleRow.h"

#include <algorithm>

namespace skinner {

bool ControlTreeFolderSelectionStrategySingleRow::on_keydown(KeyCode key)
{
    if (key != key::left && key != key::right)
        return ControlTreeFolder::on_keydown(key);
    const std::int32_t row = std::max(get_selected_row(), 0);
    ControlTree::Node* node = node_at(row);
    if (node && node != get_root()) {
        if (key == key::left)
            go_left(row, *node);
        else
            go_right(row, *node);
    }
    return true;
}

void ControlTreeFolderSelectionStrategySingleRow::go_left(std::int32_t row, ControlTree::Node& node)
{
    if (node.is_open() && node.has_children()) {
        node.set_expanded(false);
        return;
    }
    if (row <= 0)
        return;
    const ControlTree::Node* parent = node.parent();
    const std::int32_t parent_row = parent && parent != get_root() ? std::max(parent->row(), 0) : 0;
    set_selected_row(parent_row);
    ensure_visible(parent_row);
}

void ControlTreeFolderSelectionStrategySingleRow::go_right(std::int32_t row, ControlTree::Node& node)
{
    if (!node.is_open()) {
        node.set_expanded(true);
        return;
    }
    if (node.count() <= 0)
        return;
    set_selected_row(row + 1);
    ensure_visible(row + 1);
}

void ControlTreeFolderSelectionStrategySingleRow::on_row_indent_pressed(const GridCellEvent& event)
{
    if (event.row >= 0 && event.row < get_item_count())
        set_selected_row(event.row);
    ControlTreeFolder::on_row_indent_pressed(event);
}

void ControlTreeFolderSelectionStrategySingleRow::select_node(const ControlTree::Node* node)
{
    const std::int32_t row = node && node != get_root() ? node->row() : -1;
    set_selected_row(row);
    if (row >= 0)
        ensure_visible(row);
}

}
