#include "playlist/EntryPath.h"

#include "liba/Path.h"
#include "os/PathMacros.h"

namespace playlist {

namespace {

bool is_address(std::u16string_view path)
{
    std::size_t scheme_end = path.find(u"://");
    if (scheme_end == std::u16string_view::npos || scheme_end == 0)
        return false;
    for (char16_t c : path.substr(0, scheme_end)) {
        bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
        if (!letter && !(c >= u'0' && c <= u'9') && c != u'+' && c != u'-' && c != u'.')
            return false;
    }
    return true;
}

}

std::u16string resolve_entry_path(std::u16string_view list_path, std::u16string_view entry_path)
{
    if (entry_path.empty() || is_address(entry_path))
        return std::u16string(entry_path);
    if (liba::is_separator(entry_path.front()) || entry_path.front() == u'%')
        return os::expand_path_macros(entry_path);
    return os::expand_path_macros(liba::get_directory(list_path) + std::u16string(entry_path));
}

}
