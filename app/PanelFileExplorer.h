#pragma once

#include "skinner/controls/ControlPanel.h"
#include "skinner/controls/KeyCode.h"

#include <string>
#include <string_view>

// The main form's place for the file explorer. Until the explorer itself
// lives here it only keeps the one selected path and plays it.
class PanelFileExplorer : public skinner::ControlPanel {
public:
    PanelFileExplorer(skinner::Container& container, std::u16string_view name);

    // Selects the path; a file becomes what "Play" starts.
    void select_path(const std::u16string& path);
    const std::u16string& selection() const { return m_selection; }
    // The folder new recordings go into: the selection's folder, else the documents folder.
    std::u16string get_folder() const;
    // Plays the selection from its start; a file that does not play is reported.
    bool play_selection();
    bool execute_command(std::u16string_view command);
    bool on_key(skinner::KeyCode key);
    void update_menu_bar() { }

private:
    std::u16string m_selection;
};
