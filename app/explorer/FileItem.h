#pragma once

#include "liba/DateTime.h"
#include "platform/core/FileSystem.h"
#include "playlist/Entry.h"

#include <cstdint>
#include <string>

// One row of a file list: what the folder or the playlist holds at a path,
// read once when the row is made.
struct FileItem {
    // path is the file the row shows; entry keeps the play-list entry as it
    // was written (a playlist's relative path stays relative).
    FileItem(std::u16string path, std::u16string type, playlist::Entry entry);
    // The same from what a folder's listing already read of the path.
    FileItem(std::u16string path, std::u16string type, playlist::Entry entry, const platform::FileStatus& status);

    // "05.03.07": day, month and year of two digits each; empty for year 0.
    static std::u16string date_text_of(const liba::DateTime& date);

    std::u16string type;
    std::u16string name;
    std::u16string sort_name; // the name in lower case, made once for sorting
    std::u16string date_text;
    std::u16string size_text;
    bool is_folder = false;
    bool is_playlist = false;
    playlist::Entry entry;
    std::u16string path;
    std::uint64_t size = 0;
    liba::DateTime date;
    bool selected = false;

private:
    void describe(const platform::FileStatus& status);
};
