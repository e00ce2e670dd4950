#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Small pieces shared by the POSIX backends of the file services.
namespace platform::posix {

// The error for a path that does not exist (ENOENT), as the device gives
// it: "file not found" in an existing folder, "path not found" when a
// folder on the way is missing.
uint32_t not_found_error(const std::string& path);

// Writes everything, retrying short writes and interruptions; false with errno set.
bool write_all(int fd, const void* data, size_t size);

// Creates a new, empty file beside the target (same folder, so a rename
// onto the target stays on one file system) and returns its descriptor, or
// -1 with errno set. The name is stored in temp_path.
int create_temp_beside(const std::string& target, unsigned mode, std::string& temp_path);

// Flushes a folder's entries to the disk, so that a rename in it survives a crash.
void sync_directory_of(const std::string& path);

// The folder that holds the path: "." for a bare name, "/" for a name in the root.
std::string folder_of(const std::string& path);

// Makes the folder and every missing folder above it, each private to the
// user (mode 0700, as the desktop's per-user folders are). True when the
// folder exists afterwards.
bool make_folders(const std::string& folder);

}
