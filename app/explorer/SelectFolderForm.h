#pragma once

#include "skinner/widgets/text/ControlPathFrame.h"
#include "skinner/widgets/trees/ControlTreeFolderSelectionStrategySingleRow.h"
#include "skinner/core/Form.h"

#include <string>

// Picks one folder, whose files a playlist takes in, in a folder tree from
// the device's root; the frame above it names the chosen folder.
class SelectFolderForm : public skinner::Form {
public:
    SelectFolderForm(skinner::Form* parent, skinner::Properties& properties);
    ~SelectFolderForm() override;

    // Runs the form; true when the user confirmed.
    bool run();
    // The folder of the tree's selected row; empty when none is selected.
    std::u16string get_folder() const;

    skinner::ControlTreeFolderSelectionStrategySingleRow& tree() { return m_tree; }

    const skinner::ControlPathFrame& name_frame() const { return m_name; }

    bool on_click(skinner::Control& sender) override;
    bool on_selection_changed(skinner::Control& sender) override;

private:
    bool m_result = false;
    skinner::ControlPathFrame m_name;
    skinner::ControlTreeFolderSelectionStrategySingleRow m_tree;
};
