#include "os/PathMacros.h"

#include "liba/Path.h"
#include "platform/Folders.h"

namespace os {

namespace {

struct Macro {
    std::u16string_view name;
    std::u16string (*value)();
};

std::u16string app_full_name() { return get_module_file_name(); }
std::u16string app_path() { return liba::remove_trailing_separator(liba::get_directory(get_module_file_name())); }
std::u16string app_name() { return liba::get_file_name(get_module_file_name()); }
std::u16string my_documents() { return get_special_folder(folder_personal); }
std::u16string windows() { return get_special_folder(folder_windows); }
std::u16string startup() { return get_special_folder(folder_startup); }
std::u16string programs() { return get_special_folder(folder_programs); }
std::u16string start_menu() { return get_special_folder(folder_start_menu); }
std::u16string program_files() { return get_special_folder(folder_program_files); }

// In the order they are tried.
constexpr Macro macros[] = {
    { u"%app_full_name%", app_full_name },
    { u"%app_path%", app_path },
    { u"%app_name%", app_name },
    { u"%my_documents%", my_documents },
    { u"%windows%", windows },
    { u"%startup%", startup },
    { u"%programs%", programs },
    { u"%start_menu%", start_menu },
    { u"%program_files%", program_files },
};

}

std::u16string get_module_file_name()
{
    return platform::executable_path();
}

std::u16string get_special_folder(int folder)
{
    switch (folder) {
    case folder_personal:
        return platform::special_folder(platform::SpecialFolder::Documents);
    case folder_windows:
        return platform::special_folder(platform::SpecialFolder::System);
    case folder_startup:
        return platform::special_folder(platform::SpecialFolder::Startup);
    case folder_programs:
        return platform::special_folder(platform::SpecialFolder::Programs);
    case folder_start_menu:
        return platform::special_folder(platform::SpecialFolder::StartMenu);
    case folder_program_files:
        return platform::special_folder(platform::SpecialFolder::ProgramFiles);
    default:
        return {};
    }
}

std::u16string expand_path_macros(std::u16string_view path)
{
    std::u16string result;
    if (!path.empty() && path[0] == u'%') {
        for (const auto& macro : macros) {
            if (path.starts_with(macro.name)) {
                result = macro.value();
                path.remove_prefix(macro.name.size());
                break;
            }
        }
    }
    result.reserve(result.size() + path.size());
    for (char16_t c : path)
        result += c == u'\\' ? u'/' : c;
    return result;
}

void expand_path(std::u16string_view path, std::u16string& result)
{
    result = expand_path_macros(path);
}

}
