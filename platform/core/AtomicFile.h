#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

// Replaces a file's contents so that a crash or a full disk at any moment
// leaves either the old file or the new one, whole: the bytes go to a new
// file beside it, reach the disk, and only then take its name. A file
// reached through a symbolic link is replaced where it lies; a read-only
// file (no owner write bit) is refused with error_access_denied. A file that
// exists keeps its mode; a new one gets new_file_mode, narrowed by the umask.
// Returns a Win32 error code (platform/Win32Error.h).
uint32_t write_file_atomically(std::u16string_view path, std::string_view bytes, unsigned new_file_mode = 0666);

}
