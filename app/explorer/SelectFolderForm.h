#pragma once

#include "app/explorer/ControlListFiles.h"
#include "skinner/controls/ControlFrame.h"
#include "skinner/forms/Form.h"

#include <string>

// Picks one folder, whose files a playlist takes in. The folders of the
// shown folder are listed from the device's root: a tap chooses one, a
// double tap opens it and Back goes up.
class SelectFolderForm : public skinner::Form {
public:
    SelectFolderForm(skinner::Form* parent, skinner::Properties& properties);
    ~SelectFolderForm() override;

    // Runs the form; true when the user confirmed.
    bool run();
    // The chosen folder; empty when none is chosen.
    std::u16string get_folder() const { return m_folders.get_selected_path(); }
    void show_folder(const std::u16string& folder);
    const std::u16string& shown_folder() const { return m_shown; }

    ControlListFiles& folder_list() { return m_folders; }

    bool on_click(skinner::Control& sender) override;
    bool on_item_click(skinner::Control& sender, const skinner::GridCellEvent& event) override;
    bool on_selection_changed(skinner::Control& sender) override;
    bool on_keydown(skinner::KeyCode key) override;

private:
    // The device's root by its name; other paths as they are.
    void show_name(const std::u16string& folder);

    bool m_result = false;
    skinner::ControlFrame m_name;
    ControlListFiles m_folders;
    std::u16string m_shown;
};
