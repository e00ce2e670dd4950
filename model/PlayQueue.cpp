#include "model/PlayQueue.h"

#include "playlist/EntryPath.h"

#include <utility>

void PlayQueue::set(
    std::u16string name, std::vector<playlist::Entry> entries, int current, bool segments_only, PlayMode mode)
{
    m_entries = std::move(entries);
    m_name = std::move(name);
    m_segments_only = segments_only;
    m_order.build(count(), current, mode);
}

int PlayQueue::choose(int index, PlayMode mode)
{
    if (index >= 0 && index < count())
        return index;
    if (mode == PlayMode::PlaylistRepeat)
        return m_order.advance(0);
    if (mode == PlayMode::PlaylistShuffle)
        return m_order.advance(1);
    return 0;
}

std::optional<int> PlayQueue::after_end(PlayMode mode)
{
    const int number = static_cast<int>(mode);
    if (m_segments_only && number >= static_cast<int>(PlayMode::PlaylistOnce))
        return std::nullopt;
    switch (mode) {
    case PlayMode::SingleRepeat:
        return m_order.advance(0);
    case PlayMode::PlaylistOnce:
    case PlayMode::PlaylistRepeat:
    case PlayMode::PlaylistShuffle:
        if (m_order.has_next())
            return m_order.advance(1);
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

const playlist::Entry& PlayQueue::select(int index)
{
    m_current = m_entries[static_cast<std::size_t>(index)];
    m_current.path = playlist::resolve_entry_path(m_name, m_current.path);
    return m_current;
}
