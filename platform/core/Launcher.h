#pragma once

#include <string>
#include <string_view>
#include <vector>

// Starting other programs: each argument reaches the program as it stands,
// since no shell ever sees them.
namespace platform {

// Starts argv[0] (looked up on PATH) with the arguments. True once it runs;
// nothing waits for it, and it inherits none of our open files.
bool launch(const std::vector<std::u16string>& argv);

// Whether launch would find the program: a path to an executable file, or a
// name found on PATH.
bool is_installed(std::u16string_view program);

// Opens a document or a web address with the desktop's program for it.
bool open_with_desktop(std::u16string_view target);

// The program open_with_desktop starts, "xdg-open" unless replaced (tests).
std::u16string desktop_opener();
void set_desktop_opener(std::u16string program);

}
