#pragma once

#include <cstdint>
#include <string>

// One bookmark of a recording: its segment starts at position (in the
// reader's byte units) and runs to the next mark, or to the end of the file.
struct RangeMark {
    static constexpr int not_played = -1;

    std::u16string name;
    std::int64_t position { 0 };
    // not_played, or the slot it had in the play order when it was loaded
    // or appended; only that distinction holds afterwards.
    int play { not_played };

    bool operator==(const RangeMark&) const = default;
};
