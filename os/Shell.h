#pragma once

#include <string>
#include <string_view>

namespace os {

// Opens a document with the desktop's program for it (path macros expanded
// in both arguments). Parameters, when given, follow as one more argument.
// False when the file does not exist or the program cannot be started.
bool execute_file(std::u16string_view file, std::u16string_view parameters);

// Opens a web address in the desktop's browser.
bool open_url(std::u16string_view address);

}
