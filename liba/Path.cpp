#include "liba/Path.h"

#include "liba/CaseMapping.h"

#include <algorithm>

namespace liba {

namespace {

std::size_t last_separator(std::u16string_view path)
{
    return path.find_last_of(u"/\\");
}

}

bool is_separator(char16_t c)
{
    return c == u'/' || c == u'\\';
}

std::u16string remove_trailing_separator(std::u16string_view path)
{
    if (path.size() > 1 && is_separator(path.back()))
        path.remove_suffix(1);
    return std::u16string(path);
}

std::u16string get_directory(std::u16string_view path)
{
    std::size_t slash = last_separator(path);
    return slash == std::u16string_view::npos ? std::u16string() : std::u16string(path.substr(0, slash + 1));
}

std::u16string get_file_name(std::u16string_view path)
{
    std::size_t slash = last_separator(path);
    return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

std::optional<std::size_t> find_extension_dot(std::u16string_view path)
{
    std::size_t dot = path.find_last_of(u'.');
    std::size_t slash = last_separator(path);
    if (dot == std::u16string_view::npos || (slash != std::u16string_view::npos && dot < slash))
        return std::nullopt;
    return dot;
}

std::u16string get_extension(std::u16string_view path)
{
    auto dot = find_extension_dot(path);
    return dot ? std::u16string(path.substr(*dot + 1)) : std::u16string();
}

std::u16string remove_extension(std::u16string_view path)
{
    auto dot = find_extension_dot(path);
    return std::u16string(dot ? path.substr(0, *dot) : path);
}

std::u16string get_parent_directory(std::u16string_view path)
{
    // Unlike remove_trailing_separator, the root loses its separator too, so its parent is empty.
    if (!path.empty() && is_separator(path.back()))
        path.remove_suffix(1);
    return get_directory(path);
}

std::u16string get_file_title(std::u16string_view path)
{
    return remove_extension(get_file_name(path));
}

std::u16string change_extension(std::u16string_view path, std::u16string_view extension)
{
    return remove_extension(path) + u"." + std::u16string(extension);
}

std::u16string join_path(std::u16string_view folder, std::u16string_view name)
{
    if (folder.empty())
        return std::u16string(name);
    if (is_separator(folder.back()))
        folder.remove_suffix(1);
    return std::u16string(folder) + path_separator + std::u16string(name);
}

std::u16string normalize_path(std::u16string_view path)
{
    std::u16string native(path);
    std::replace(native.begin(), native.end(), u'\\', path_separator);
    return remove_trailing_separator(native);
}

bool paths_equal(std::u16string_view a, std::u16string_view b)
{
    return normalize_path(a) == normalize_path(b);
}

bool is_path_under(std::u16string_view folder, std::u16string_view path)
{
    std::u16string f = normalize_path(folder);
    std::u16string p = normalize_path(path);
    if (f.empty())
        return true;
    if (p.size() < f.size() || p.compare(0, f.size(), f) != 0)
        return false;
    return p.size() == f.size() || f.back() == u'/' || p[f.size()] == u'/';
}

bool names_equal(std::u16string_view a, std::u16string_view b)
{
    return to_lower(normalize_path(a)) == to_lower(normalize_path(b));
}

}
