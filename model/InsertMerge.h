#pragma once

#include <cstdint>
#include <string>

class DocumentMedia;
class RangeMarkList;

// Puts a recorded part into its target file at a position (reader units):
// the target's head, the part and the target's tail are copied undecoded
// into a new file beside them, which takes the target's place only once it
// reads back whole; the target's marks move to make room for the part's.
// True when the target holds the part and the part file (with its marks) is gone. Otherwise
// the target, its marks and the part stay as they were, and the new file
// is removed.
bool merge_insert(DocumentMedia& media, const std::u16string& target, const std::u16string& part,
    std::int64_t position, const RangeMarkList& part_marks);
