#pragma once

#include "liba/DateTime.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace os {

// A snapshot of one path's attributes, size and times, with the operations
// on it. Path macros are expanded for every call to the host. Operations
// report failure by their result and leave the Win32 error code in error().
class FileInfo {
public:
    // A folder path with a trailing separator is found too.
    explicit FileInfo(std::u16string path);

    const std::u16string& path() const { return m_path; }

    // The file attribute flags (platform/core/FileSystem.h); all bits set when not found.
    uint32_t attributes() const { return m_attributes; }

    uint32_t error() const { return m_error; }

    uint64_t size() const { return m_size; }

    // Local time; the default value when not found.
    const liba::DateTime& creation_time() const { return m_creation_time; }

    const liba::DateTime& last_write_time() const { return m_last_write_time; }

    bool exists() const;
    bool is_directory() const;
    bool is_read_only() const;
    // A symbolic link, described by what it points to. Walks must not
    // descend into a linked folder: removing it removes only the link.
    bool is_link() const;

    // Read-only is the owner's write bit. Asking for the state already
    // known succeeds without touching the disk.
    bool set_read_only(bool read_only);
    // Removes a file, a link or an empty folder.
    bool remove();
    // Renames or moves; an existing target is never replaced. The snapshot
    // keeps describing the old path.
    bool move_to(const std::u16string& new_path);
    // Creates the folder of that name inside this folder.
    bool create_directory(std::u16string_view name);

private:
    bool record(uint32_t error);

    std::u16string m_path;
    uint32_t m_attributes;
    uint32_t m_error { 0 };
    uint64_t m_size { 0 };
    liba::DateTime m_creation_time;
    liba::DateTime m_last_write_time;
};

}
