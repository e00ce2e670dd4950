#pragma once

#include "playlist/List.h"

namespace playlist {

// An extended M3U file: the line "#EXTM3U", then for each entry an
// "#EXTINF:<seconds>,<title>" line and a path line. Read as UTF-16LE after
// the mark FF FE or as ANSI text; written as UTF-16LE with the mark.
class ListM3U : public List {
public:
    // A new, empty list; not loaded.
    ListM3U();
    // Reads the file; a line out of place rejects it whole.
    explicit ListM3U(const std::u16string& path);

    bool is_loaded() const override { return m_loaded; }

    // Replaces the file whole, so a failed save leaves the old one. False
    // when it cannot be written or a path holds a line break, which the
    // format cannot carry.
    bool save(const std::u16string& path) override;

private:
    void read(const std::u16string& path);
};

}
