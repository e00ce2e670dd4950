#pragma once

#include "platform/core/FileSystem.h"

#include <string>
#include <string_view>

namespace os {

// A search of a folder that reports each entry to the overridden callbacks;
// a callback answers false to end the search of the folder it is in.
class Finder {
public:
    virtual ~Finder() = default;

    // The full path of a file; false stops this folder.
    virtual bool on_file(const std::u16string& path) { return true; }

    // The full path of a folder; false stops this folder.
    virtual bool on_folder(const std::u16string& path) { return true; }

    // Reports the folder's files matching the file mask, then its folders
    // matching the folder mask (os/Wildcard.h), each sorted by name. With
    // recursive set, a sub-folder is searched right after it is reported,
    // except a linked one. A false answer ends only the folder it was given
    // in; the folder above goes on. Path macros are expanded.
    bool find(const std::u16string& folder, std::u16string_view file_mask, std::u16string_view folder_mask,
        bool recursive);
    // Reports the storage cards, except one that holds My Documents.
    bool find_drives();

protected:
    // During on_file and on_folder of find: what the folder's listing read of
    // the entry (a snapshot, links described by their target); null otherwise.
    const platform::FileStatus* found_status() const { return m_found; }

private:
    const platform::FileStatus* m_found = nullptr;
};

}
