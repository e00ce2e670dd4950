#pragma once

#include "model/RangeMark.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The bookmarks of one file, sorted by position, and the order in which
// their segments play. Indices name marks, slots name play order entries;
// an index or slot out of range ends the program.
class RangeMarkList {
public:
    RangeMark& mark(int index);
    const RangeMark& mark(int index) const;

    int mark_count() const { return static_cast<int>(m_marks.size()); }

    int play_count() const { return static_cast<int>(m_play_order.size()); }

    // The mark indices in playing order.
    const std::vector<int>& play_order() const { return m_play_order; }

    RangeMark& play_mark(int slot);
    const RangeMark& play_mark(int slot) const;

    // Up to the next mark's position, or to total for the last mark.
    std::int64_t mark_length(int index, std::int64_t total) const;
    std::int64_t play_length(int slot, std::int64_t total) const;

    // The index of the mark at that position; a new, unplayed mark when
    // there is none, put at the end of the play order when also_play is set.
    int insert(std::int64_t position, std::u16string name, bool also_play);
    void append_to_play(int index);
    // A mark made by the program: a new mark inside a played segment splits
    // it into two that play one after the other, so playback stays the same.
    int add(std::int64_t position, std::u16string name);
    // Appends without sorting; for building a list mark by mark.
    void push_mark(const RangeMark& mark);
    // Takes in the marks of a recording inserted at `at` that is `length`
    // long: its marks move by at, the marks after them by length. They come
    // in unplayed, as the play order does not name them.
    void merge(const RangeMarkList& other, std::int64_t at, std::int64_t length);

    // The list in the bookmark file; empty when it is missing or unreadable.
    static RangeMarkList load(const std::u16string& path);
    // Played marks first in play order, then the others in position order.
    bool save(const std::u16string& path) const;

private:
    int checked_index(int index, std::u16string_view location) const;
    int checked_slot(int slot, std::u16string_view location) const;

    std::vector<RangeMark> m_marks;
    std::vector<int> m_play_order;
};

// The first play order slot after the given one whose mark is played; the
// play count when none is left. -1 starts the search at slot 0.
int next_valid_index(const RangeMarkList& list, int slot);
