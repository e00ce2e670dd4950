#pragma once

#include "app/explorer/ControlListFilesWithHeader.h"
#include "model/FileType.h"
#include "skinner/widgets/combos/ControlComboBoxFolderTree.h"
#include "skinner/widgets/combos/ControlComboBoxGenericReadonly.h"
#include "skinner/core/Form.h"

#include <string>
#include <vector>

// Picks sound files of one folder, of one file type at a time, to add to
// a playlist. The folder, chosen in a folder tree, starts at the device's
// root; "btnUp" goes up.
class SelectFileForm : public skinner::Form {
public:
    // The file types to choose from, the first chosen.
    class TypeCombo : public skinner::ControlComboBoxGenericReadonly<std::vector<FileType>> {
    public:
        using ControlComboBoxGenericReadonly::ControlComboBoxGenericReadonly;

        void paint_item(std::int32_t row, skinner::Canvas& canvas, skinner::Point position,
            skinner::Size size, bool selected, bool highlighted) override;
        bool on_selection_changed(skinner::Control& sender) override;
    };

    SelectFileForm(skinner::Form* parent, skinner::Properties& properties);
    ~SelectFileForm() override;

    // Runs the form; true when the user confirmed.
    bool run();

    std::vector<std::u16string> get_selected_files() const { return m_files.get_selected_paths(); }

    // Shows the folder's files of the chosen type.
    void set_folder(const std::u16string& folder);

    const std::u16string& folder() const { return m_folder; }

    // Lists the files of the type at the index of the type list.
    void choose_type(std::int32_t index);

    ControlListFilesWithHeader& file_list() { return m_files; }

    TypeCombo& types() { return m_types; }

    skinner::ControlComboBoxFolderTree& folder_combo() { return m_tree; }

    bool on_click(skinner::Control& sender) override;
    bool on_selection_changed(skinner::Control& sender) override;
    bool on_dropdown_closed(skinner::Control& sender) override;

private:
    bool m_result = false;
    skinner::ControlComboBoxFolderTree m_tree;
    TypeCombo m_types;
    ControlListFilesWithHeader m_files;
    std::u16string m_folder;
};
