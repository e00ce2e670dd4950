#pragma once

#include "app/explorer/ControlListFiles.h"
#include "playlist/List.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The rows of one playlist file: its entries that the list has a type for,
// in the list's order. The file is written only after the rows were
// edited, and the entries the view does not show are written back with
// them, so that looking at a playlist never changes it.
class ControlListPlaylist : public ControlListFiles {
public:
    ControlListPlaylist(skinner::Container& container, std::u16string_view id,
        skinner::ControlMode mode = skinner::ControlMode::named);
    ~ControlListPlaylist() override;

    // False, with everything kept, when no reader takes the file.
    bool load(const std::u16string& path);
    using ControlListFiles::load;
    // Writes the rows (and the hidden entries) in the file's own format.
    bool save();
    // Saves only when the rows changed since the load or the last save.
    bool save_if_changed();

    // Sound files only; a playlist or any other file is no row.
    bool add_file(const std::u16string& path, const platform::FileStatus* status = nullptr) override;
    // Removes the rows, highest first.
    void remove_rows_at(std::vector<std::int32_t> rows);
    void swap_rows(std::int32_t a, std::int32_t b);

    void set_changed() { m_changed = true; }

    bool is_changed() const { return m_changed; }

    const std::u16string& playlist_path() const { return m_path; }

    const playlist::List* playlist() const { return m_playlist.get(); }

private:
    // An entry the view leaves out, and how many shown rows came before it.
    struct HiddenEntry {
        std::size_t after_rows;
        playlist::Entry entry;
    };

    std::unique_ptr<playlist::List> m_playlist;
    std::u16string m_path;
    std::vector<HiddenEntry> m_hidden;
    bool m_changed = false;
};
