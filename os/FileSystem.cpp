#include "os/FileSystem.h"

#include "liba/Path.h"
#include "os/PathMacros.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Win32Error.h"

#include <vector>

namespace os {

double get_free_space(std::u16string_view path)
{
    uint64_t bytes = 0;
    if (platform::free_space(expand_path_macros(path), bytes) != platform::error_success)
        return 0;
    return static_cast<double>(bytes);
}

void create_directories(std::u16string_view path)
{
    std::vector<std::u16string> chain;
    std::u16string folder = liba::remove_trailing_separator(expand_path_macros(path));
    // Up to the root or the start of a relative path, each folder once.
    while (!folder.empty() && (chain.empty() || folder != chain.back())) {
        chain.push_back(folder);
        folder = liba::remove_trailing_separator(liba::get_parent_directory(folder));
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        platform::create_directory(*it);
}

bool file_status(std::u16string_view path, platform::FileStatus& status)
{
    return platform::file_status(liba::remove_trailing_separator(expand_path_macros(path)), status)
        == platform::error_success;
}

bool replace_file(std::u16string_view from, std::u16string_view to)
{
    return platform::replace_file(expand_path_macros(from), expand_path_macros(to))
        == platform::error_success;
}

bool write_file_atomically(std::u16string_view path, std::string_view bytes)
{
    return platform::write_file_atomically(expand_path_macros(path), bytes) == platform::error_success;
}

std::u16string resolve_path(std::u16string_view path)
{
    std::u16string resolved;
    if (platform::resolve_path(expand_path_macros(path), resolved) != platform::error_success)
        return {};
    return resolved;
}

bool copy_link(std::u16string_view from, std::u16string_view to)
{
    return platform::copy_symbolic_link(expand_path_macros(from), expand_path_macros(to))
        == platform::error_success;
}

}
