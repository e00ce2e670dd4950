#pragma once

#include "skinner/widgets/progress/ControlProgress.h"

#include <cstdint>

class RangeMarkList;

// The playing position's bar with a "Bookmark" mark at each bookmark of the
// recording; the thumb lies over the marks.
class ControlProgressBookmarks : public skinner::ControlProgress {
public:
    ControlProgressBookmarks(skinner::Container& container, std::u16string_view id,
        skinner::ControlMode mode = skinner::ControlMode::named);
    ~ControlProgressBookmarks() override;

    // The list is not owned (null for none); total is in the marks' units, and
    // a total that is not positive shows no mark.
    void set_marks(std::int64_t total, const RangeMarkList* list);

    std::int64_t total() const { return m_total; }

    void paint(skinner::Canvas& canvas, skinner::Point area_position, skinner::Size area_size) override;
    void load() override;

private:
    skinner::Picture m_bookmark;
    const RangeMarkList* m_list = nullptr;
    std::int64_t m_total = 0;
};
