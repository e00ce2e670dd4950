#pragma once

#include <string>

// What the Today item's commands ask of the main window besides the
// document; the main form answers it.
class CommWindow {
public:
    virtual ~CommWindow() = default;

    virtual void show_window(bool shown) = 0;
    // Selects the path in the file explorer, opening its folder.
    virtual void select_path(const std::u16string& path) = 0;
    // Plays the explorer's selection from its beginning.
    virtual bool play_selection() = 0;
};
