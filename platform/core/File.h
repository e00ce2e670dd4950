#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Host file access. Every open shares reading with other opens; a writer
// excludes every other open, reader or writer (advisory locks, so only
// opens through this layer are held off).
namespace platform {

using FileHandle = int;
inline constexpr FileHandle no_file = -1;

enum class FileAccess { Read, Write, ReadWrite };
enum class FileCreation {
    OpenExisting, // fails when the file is missing
    CreateAlways, // creates it, or empties an existing one
    OpenAlways, // opens it, creating it when missing
};
enum class SeekOrigin { Begin, Current, End };

// Only regular files open; folders, devices and pipes are refused.
FileHandle open_file(std::u16string_view path, FileAccess access, FileCreation creation);
void close_file(FileHandle file);

// Bytes transferred (fewer only at the end of the file or on an error after
// some bytes moved); -1 when nothing could be transferred because of an error.
std::int64_t read_file(FileHandle file, void* buffer, std::size_t count);
std::int64_t write_file(FileHandle file, const void* buffer, std::size_t count);

// The new position, or -1 (a position before the start is refused).
std::int64_t seek_file(FileHandle file, std::int64_t distance, SeekOrigin origin);
// -1 on failure.
std::int64_t file_size(FileHandle file);
// Makes the current position the end of the file.
bool set_end_of_file(FileHandle file);
bool flush_file(FileHandle file);

}
