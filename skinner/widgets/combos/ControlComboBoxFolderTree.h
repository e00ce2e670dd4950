#pragma once

#include "skinner/widgets/combos/ControlComboBox.h"
#include "skinner/widgets/text/ControlPathFrame.h"
#include "skinner/widgets/trees/ControlTreeFolderSelectionStrategySingleRow.h"

#include <memory>
#include <string>

namespace skinner {

// A combo box that chooses a folder: its face shows the chosen folder's
// path, its drop-down is a folder tree from the root path, opened down to
// the chosen folder. Selecting a folder in the tree chooses it; the choice
// is the face's text.
class ControlComboBoxFolderTree : public ControlComboBox {
public:
    ControlComboBoxFolderTree(Container& container, std::u16string_view id, ControlMode mode = ControlMode::named);
    ~ControlComboBoxFolderTree() override;

    // The folder at the top of the tree, also shown as the choice.
    void set_path(std::u16string_view path);
    const std::u16string& root_path() const { return m_root_path; }
    // The chosen folder.
    const std::u16string& get_path() const { return m_frame.text(); }

    Control* get_edit_part() override { return &m_frame; }
    ControlPathFrame& path_frame() { return m_frame; }
    // The open drop-down's tree, else null.
    ControlTreeFolderSelectionStrategySingleRow* tree() const { return m_tree.get(); }

    std::unique_ptr<CBForm> create_dropdown_form(Point position, Size size) override;
    // Shows the tree's selected folder, then passes the event on with the
    // tree as its sender (tree() tells the owner it is this combo box's).
    bool on_selection_changed(Control& sender) override;
    bool on_dropdown_closed(Control& sender) override;

private:
    ControlPathFrame m_frame;
    std::unique_ptr<ControlTreeFolderSelectionStrategySingleRow> m_tree;
    std::u16string m_root_path;
};

}
