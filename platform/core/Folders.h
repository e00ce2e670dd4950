#pragma once

#include <string>

// Where the program and the user's folders are on the host. Every call
// looks the answer up afresh, so tests can redirect it through the
// environment (ORVANTA_APP_PATH, HOME, XDG_CONFIG_HOME, XDG_DATA_HOME).
namespace platform {

enum class SpecialFolder {
    Documents, // the XDG documents folder, else $HOME
    System, // $XDG_DATA_HOME/orvanta: shared program data such as the Today item's skin
    Startup, // $XDG_CONFIG_HOME/autostart
    Programs, // $XDG_DATA_HOME/applications
    StartMenu, // $XDG_DATA_HOME/applications
    ProgramFiles, // the folder that holds the program's folder
    Config, // $XDG_CONFIG_HOME: the user's settings of other programs, such as mimeapps.list
};

// Full path of the running executable: $ORVANTA_APP_PATH joined with the
// executable's file name when that variable is set, else /proc/self/exe.
// Empty when it cannot be read.
std::u16string executable_path();

// Without a trailing separator; empty when it cannot be found.
std::u16string special_folder(SpecialFolder folder);

}
