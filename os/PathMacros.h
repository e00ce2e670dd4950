#pragma once

#include <string>
#include <string_view>

// Path macros such as "%my_documents%", which keep stored paths valid when
// the program or the user's folders move. Values are looked up at each
// expansion, and only for the macro that the path begins with.
namespace os {

// Folder numbers of the platform's special folders.
enum SpecialFolderId {
    folder_programs = 2,
    folder_personal = 5,
    folder_startup = 7,
    folder_start_menu = 11,
    folder_windows = 36,
    folder_program_files = 38,
};

// Full path of the program file.
std::u16string get_module_file_name();
// The folder's path without a trailing separator; empty when unknown.
std::u16string get_special_folder(int folder);

// A macro at the very beginning of the path (case-sensitive) becomes its
// value; then every '\' becomes '/'. Elsewhere, or in another case, a macro
// is copied unchanged.
std::u16string expand_path_macros(std::u16string_view path);
void expand_path(std::u16string_view path, std::u16string& result);

// The program's skins folder as a stored path ("%app_path%" not expanded).
std::u16string skins_folder();

}
