#pragma once

#include "playlist/Entry.h"
#include "playlist/Header.h"

#include <memory>
#include <string>
#include <vector>

namespace playlist {

// A playlist: its header and its entries in play order. Each file kind is a
// subclass whose constructor reads the file and whose save writes it.
class List {
public:
    List() = default;
    virtual ~List() = default;

    // The file read by the first kind that accepts its content, whatever its
    // extension: M3U, ASX, multi-track, offline radio. Null when none does.
    static std::unique_ptr<List> open(const std::u16string& path);

    // Whether a reader accepted the file; always true here.
    virtual bool is_loaded() const { return true; }

    virtual std::vector<Entry>& get_entries() { return m_entries; }

    const std::vector<Entry>& entries() const { return m_entries; }

    // Writes the list in the kind's format; here nothing, and true.
    virtual bool save(const std::u16string& path) { return true; }

    Header& header() { return m_header; }

    const Header& header() const { return m_header; }

    // "m3u", "asx", "mtr" or "log" for a list read from a file; empty for a new one.
    const std::u16string& kind() const { return m_kind; }

protected:
    explicit List(std::u16string kind)
        : m_kind(std::move(kind))
    {
    }

    Header m_header;
    std::vector<Entry> m_entries;
    std::u16string m_kind;
    bool m_loaded { false };
};

}
