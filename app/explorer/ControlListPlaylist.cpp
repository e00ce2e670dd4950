#include "app/explorer/ControlListPlaylist.h"

#include "model/FileHelpers.h"
#include "playlist/EntryPath.h"

#include <algorithm>
#include <functional>

ControlListPlaylist::ControlListPlaylist(
    skinner::Container& container, std::u16string_view id, skinner::ControlMode mode)
    : ControlListFiles(container, id, mode)
{
}

ControlListPlaylist::~ControlListPlaylist() = default;

bool ControlListPlaylist::load(const std::u16string& path)
{
    std::unique_ptr<playlist::List> list = playlist::List::open(path);
    if (!list)
        return false;
    m_playlist = std::move(list);
    remove_rows();
    m_hidden.clear();
    for (const playlist::Entry& entry : m_playlist->entries()) {
        const std::u16string type = get_lower_extension(entry.path);
        if (has_type(type))
            add_item(FileItem(playlist::resolve_entry_path(path, entry.path), type, entry));
        else
            m_hidden.push_back({ items().size(), entry });
    }
    unselect_all();
    refresh();
    m_path = path;
    m_changed = false;
    set_current_index(-1);
    return true;
}

bool ControlListPlaylist::save()
{
    if (!m_playlist)
        return false;
    std::vector<playlist::Entry>& entries = m_playlist->get_entries();
    entries.clear();
    auto hidden = m_hidden.begin();
    const auto flush_hidden = [&](std::size_t rows) {
        while (hidden != m_hidden.end() && hidden->after_rows <= rows)
            entries.push_back((hidden++)->entry);
    };
    for (std::size_t row = 0; row < items().size(); ++row) {
        flush_hidden(row);
        entries.push_back(items()[row].entry);
    }
    flush_hidden(SIZE_MAX);
    const bool saved = m_playlist->save(m_path);
    if (saved)
        m_changed = false;
    return saved;
}

bool ControlListPlaylist::save_if_changed()
{
    return !m_changed || save();
}

bool ControlListPlaylist::add_file(const std::u16string& path, const platform::FileStatus* status)
{
    if (!is_supported_sound_file(path))
        return false;
    if (!ControlListFiles::add_file(path, status))
        return false;
    m_changed = true;
    return true;
}

void ControlListPlaylist::remove_rows_at(std::vector<std::int32_t> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    const std::u16string current = get_current_path();
    for (std::int32_t row : rows) {
        if (row < 0 || std::size_t(row) >= items().size())
            continue;
        items().erase(items().begin() + row);
        for (HiddenEntry& hidden : m_hidden)
            if (hidden.after_rows > std::size_t(row))
                --hidden.after_rows;
        m_changed = true;
    }
    unselect_all();
    find_file(current);
    refresh();
}

void ControlListPlaylist::swap_rows(std::int32_t a, std::int32_t b)
{
    const auto count = std::int32_t(items().size());
    if (a < 0 || b < 0 || a >= count || b >= count || a == b)
        return;
    std::swap(items()[std::size_t(a)], items()[std::size_t(b)]);
    if (get_current_index() == a)
        set_current_index(b);
    else if (get_current_index() == b)
        set_current_index(a);
    m_changed = true;
    refresh();
}
