#pragma once

#include <map>
#include <string>

namespace playlist {

// One media item of a playlist. Times are seconds.
struct Entry {
    // As written in the list, neither expanded nor checked; resolve_entry_path
    // gives the file it names.
    std::u16string path;
    // -1: unknown.
    double duration { -1.0 };
    // From the end of the previous item; negative when the two overlap.
    double start_offset { 0.0 };
    int track { -1 };
    double clip_begin { 0.0 };
    double fade_in { 0.0 };
    double clip_end { 0.0 };
    double fade_out { 0.0 };
    // "title", "artist", "MediaID" and the like, ordered by key, case-sensitive.
    std::map<std::u16string, std::u16string> attributes;
};

}
