#pragma once

#include "skinner/controls/ControlComboBoxStringReadonly.h"

#include <string>

// The recording folder's box until the folder combo box is in the tree: it
// shows one path, which is the chosen folder.
class StandInFolderCombo : public skinner::ControlComboBoxStringReadonly {
public:
    using ControlComboBoxStringReadonly::ControlComboBoxStringReadonly;

    void set_path(std::u16string_view path);
    // The folder shown.
    const std::u16string& get_path() { return face().text(); }
};
