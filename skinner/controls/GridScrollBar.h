#pragma once

#include <cstdint>

namespace skinner {

// What a grid needs of each of its scroll bars: a range, a page and a
// position kept within min .. max - page.
class GridScrollBar {
public:
    virtual ~GridScrollBar() = default;

    virtual void set_range(std::int32_t min, std::int32_t max) = 0;
    virtual void set_page(std::int32_t page) = 0;
    virtual void set_position(std::int32_t position) = 0;
    virtual std::int32_t get_position() const = 0;
    virtual std::int32_t get_page() const = 0;
    // Whether the bar is needed for the content.
    virtual void set_needed(bool needed) = 0;
};

}
