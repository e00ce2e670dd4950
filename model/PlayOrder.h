#pragma once

#include "model/PlayMode.h"

#include <cstdint>
#include <vector>

// The order in which the document walks its play list: every index once per
// round, five shuffled rounds in shuffle mode. In the repeating modes the
// position grows past the last slot and is taken modulo the entry count.
class PlayOrder {
public:
    // For n items, starting at the current index (-1 for none). Shuffled
    // rounds start with the current item.
    void build(int item_count, int current, PlayMode mode);
    // Again for the mode, keeping the item at the position; nothing without entries.
    void rebuild(PlayMode mode);
    // Moves by step slots and gives the item there; 0 when there are no entries.
    int advance(int step);
    bool has_next() const;

    bool has_previous() const { return m_count > 0 && m_position > 0; }

    const std::vector<int>& entries() const { return m_entries; }

    int position() const { return m_position; }

    int item_count() const { return m_item_count; }

    int count() const { return m_count; }

    bool shuffle() const { return m_shuffle; }

    bool wrap() const { return m_wrap; }

    // The shuffle draws from one engine, seeded from the tick count at first
    // use; tests seed it to get a known order.
    static void seed(std::uint32_t seed);

private:
    void clear();
    void shuffle_rounds();
    void rotate_to(int current);

    std::vector<int> m_entries;
    int m_position { 0 };
    int m_item_count { 0 };
    int m_count { 0 };
    bool m_shuffle { false };
    bool m_wrap { false };
};
