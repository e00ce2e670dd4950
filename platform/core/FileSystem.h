#pragma once

#include "platform/core/Clock.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Files and folders as the device's file services describe them: attribute
// flags, 64-bit sizes, FILETIME stamps and Win32 error codes (platform/Win32Error.h).
// Every operation returns such a code, error_success when it worked.
namespace platform {

constexpr uint32_t file_attribute_read_only = 0x1;
constexpr uint32_t file_attribute_hidden = 0x2;
constexpr uint32_t file_attribute_directory = 0x10;
constexpr uint32_t file_attribute_normal = 0x80;
constexpr uint32_t file_attribute_reparse_point = 0x400;
constexpr uint32_t invalid_file_attributes = 0xFFFFFFFF;

struct FileStatus {
    uint32_t attributes = invalid_file_attributes;
    uint64_t size = 0;
    FileTime creation_time = 0; // UTC here
    FileTime last_write_time = 0;
};

// A symbolic link is described by its target and marked as a reparse point;
// a dangling one by itself. Read-only is the owner's write bit; names
// beginning with '.' are hidden.
uint32_t file_status(std::u16string_view path, FileStatus& status);
uint32_t set_read_only(std::u16string_view path, bool read_only);

// Removes a file or a symbolic link (never what a link points to).
uint32_t remove_file(std::u16string_view path);
// Removes an empty folder.
uint32_t remove_directory(std::u16string_view path);
uint32_t create_directory(std::u16string_view path);
// Renames or moves a file or folder, never replacing an existing target. A
// file moves to another file system by copy and delete; a folder does not.
uint32_t move_file(std::u16string_view from, std::u16string_view to);
// Puts the file `from` in place of the file `to` in one step, once its bytes
// have reached the disk: a crash leaves `to` either as it was or as the whole
// new file. Both lie on one file system. A `to` reached through a symbolic
// link is replaced where it lies; a folder is refused.
uint32_t replace_file(std::u16string_view from, std::u16string_view to);
// The absolute path of an existing file or folder with every symbolic link,
// "." and ".." resolved, so two spellings of one place compare equal.
uint32_t resolve_path(std::u16string_view path, std::u16string& resolved);
// Makes a new symbolic link that points where the link `from` points; an
// existing target is never replaced.
uint32_t copy_symbolic_link(std::u16string_view from, std::u16string_view to);
// Bytes available to the caller on the file system holding the path.
uint32_t free_space(std::u16string_view path, uint64_t& bytes);

struct DirectoryEntry {
    std::u16string name;
    uint32_t attributes = 0;
    // What file_status tells of it, read by the listing.
    FileStatus status;
};

// The entries of a folder sorted by name, without "." and "..". An empty
// folder means the current one.
uint32_t list_directory(std::u16string_view folder, std::vector<DirectoryEntry>& entries);

// A UTC FILETIME moved into the local time zone at that instant.
FileTime local_file_time(FileTime utc_file_time);

}
