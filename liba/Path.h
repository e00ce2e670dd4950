#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Path strings. '/' and '\' both count as separators on input (files written
// on a handheld use '\'); paths this code builds use '/'.
namespace liba {

inline constexpr char16_t path_separator = u'/';
bool is_separator(char16_t c);

// Removes one trailing separator; the root "/" stays as it is.
std::u16string remove_trailing_separator(std::u16string_view path);
// Up to and including the last separator; empty when there is none.
std::u16string get_directory(std::u16string_view path);
// After the last separator; the whole path when there is none.
std::u16string get_file_name(std::u16string_view path);
// The last '.' after the last separator (a dot in a folder name is no extension dot).
std::optional<std::size_t> find_extension_dot(std::u16string_view path);
std::u16string get_extension(std::u16string_view path);
std::u16string remove_extension(std::u16string_view path);
// The folder that holds the path: /a/b/ and /a/b both give /a/.
std::u16string get_parent_directory(std::u16string_view path);
std::u16string get_file_title(std::u16string_view path);
std::u16string change_extension(std::u16string_view path, std::u16string_view extension);
// The folder without its trailing separator, '/', then the name; the name alone for an empty folder.
std::u16string join_path(std::u16string_view folder, std::u16string_view name);

// The form in which file paths are compared: separators made '/', one
// trailing separator removed. Case stays: host file names are case-sensitive.
// Macros stay too: a caller comparing stored paths expands them first
// (os::expand_path_macros).
std::u16string normalize_path(std::u16string_view path);
// Whether two paths name one file: normalized forms equal, case included.
bool paths_equal(std::u16string_view a, std::u16string_view b);
// Whether the path is the folder or lies inside it, by whole components.
bool is_path_under(std::u16string_view folder, std::u16string_view path);
// Names inside archives, skins and tables: like paths_equal, but regardless of case.
bool names_equal(std::u16string_view a, std::u16string_view b);

}
