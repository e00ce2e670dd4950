#pragma once

#include <string>
#include <string_view>

namespace os {

// Bytes available to the user on the file system holding the path (path
// macros expanded); 0 when it cannot be told.
double get_free_space(std::u16string_view path);

// Creates the folder and every missing folder above it, outermost first.
// Folders that exist already are fine; failures are not reported.
void create_directories(std::u16string_view path);

}
