#include "os/PathMacros.h"

#include "liba/Path.h"
#include "platform/core/Folders.h"

namespace os {

namespace {

// A macro's value is a part of the program file's path or, for the others,
// a special folder.
enum class ProgramPart { FullName, Folder, Name, None };

struct Macro {
    std::u16string_view name;
    ProgramPart part;
    int folder;
};

// In the order they are tried.
constexpr Macro macros[] = {
    { u"%app_full_name%", ProgramPart::FullName, 0 },
    { u"%app_path%", ProgramPart::Folder, 0 },
    { u"%app_name%", ProgramPart::Name, 0 },
    { u"%my_documents%", ProgramPart::None, folder_personal },
    { u"%windows%", ProgramPart::None, folder_windows },
    { u"%startup%", ProgramPart::None, folder_startup },
    { u"%programs%", ProgramPart::None, folder_programs },
    { u"%start_menu%", ProgramPart::None, folder_start_menu },
    { u"%program_files%", ProgramPart::None, folder_program_files },
};

std::u16string value_of(const Macro& macro)
{
    switch (macro.part) {
    case ProgramPart::FullName:
        return get_module_file_name();
    case ProgramPart::Folder:
        return liba::remove_trailing_separator(liba::get_directory(get_module_file_name()));
    case ProgramPart::Name:
        return liba::get_file_name(get_module_file_name());
    case ProgramPart::None:
        break;
    }
    return get_special_folder(macro.folder);
}

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
                result = value_of(macro);
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

std::u16string skins_folder()
{
    return liba::join_path(u"%app_path%", u"skins");
}

}
