#pragma once

#include "model/PlayMode.h"
#include "model/PlayOrder.h"
#include "playlist/Entry.h"

#include <optional>
#include <string>
#include <vector>

// What the document plays in turn: the play list, the folder-relative name
// it came from, the order it is walked in and the item that plays. The mode
// stays in the settings; each step is told it.
class PlayQueue {
public:
    // With segments_only each item plays only its bookmarked segments.
    void set(std::u16string name, std::vector<playlist::Entry> entries, int current, bool segments_only,
        PlayMode mode);

    int count() const { return static_cast<int>(m_entries.size()); }

    bool segments_only() const { return m_segments_only; }

    // Again for the mode, keeping the item at the position.
    void rebuild(PlayMode mode) { m_order.rebuild(mode); }

    // Moves by step slots of the order and gives the item there.
    int advance(int step) { return m_order.advance(step); }

    bool has_next() const { return m_order.has_next(); }

    bool has_previous() const { return m_order.has_previous(); }

    // An index outside the list lets the mode choose the item.
    int choose(int index, PlayMode mode);
    // The item after the one that ended, or none when playback finishes.
    std::optional<int> after_end(PlayMode mode);
    // Makes the item current, its path resolved in the folder of the list.
    const playlist::Entry& select(int index);

    const playlist::Entry& current() const { return m_current; }

    void clear_current() { m_current = playlist::Entry(); }

private:
    std::u16string m_name;
    std::vector<playlist::Entry> m_entries;
    PlayOrder m_order;
    bool m_segments_only { false };
    playlist::Entry m_current;
};
