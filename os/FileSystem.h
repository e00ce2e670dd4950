#pragma once

#include "platform/core/FileSystem.h"

#include <string>
#include <string_view>

namespace os {

// Bytes available to the user on the file system holding the path (path
// macros expanded); 0 when it cannot be told.
double get_free_space(std::u16string_view path);

// Creates the folder and every missing folder above it, outermost first.
// Folders that exist already are fine; failures are not reported.
void create_directories(std::u16string_view path);

// The calls below expand path macros in every path they take, so callers hand
// them stored paths as they are; each is true when it worked.

// The host's description of the file or folder; a trailing separator is ignored.
bool file_status(std::u16string_view path, platform::FileStatus& status);

// Puts the file `from` in place of the file `to` in one step, once its bytes
// have reached the disk: a crash leaves `to` either as it was or as the whole
// new file. Both lie on one file system; a folder is refused.
bool replace_file(std::u16string_view from, std::u16string_view to);

// Writes the bytes as the whole file through a temporary file beside it, so a
// crash or a full disk leaves the old file whole; a read-only file is refused.
bool write_file_atomically(std::u16string_view path, std::string_view bytes);

// The absolute path of an existing file or folder with every symbolic link,
// "." and ".." resolved, so two spellings of one place compare equal; empty
// when it cannot be resolved.
std::u16string resolve_path(std::u16string_view path);

// Makes a new symbolic link that points where the link `from` points; an
// existing target is never replaced.
bool copy_link(std::u16string_view from, std::u16string_view to);

}
