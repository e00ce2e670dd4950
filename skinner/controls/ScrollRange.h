#pragma once

#include "skinner/controls/GridScrollBar.h"

namespace skinner {

// A scroll bar's numbers without a control to show them.
class ScrollRange : public GridScrollBar {
public:
    void set_range(std::int32_t min, std::int32_t max) override;
    void set_page(std::int32_t page) override;
    void set_position(std::int32_t position) override;
    std::int32_t get_position() const override { return m_position; }
    std::int32_t get_page() const override { return m_page; }
    void set_needed(bool needed) override { m_needed = needed; }

    std::int32_t min() const { return m_min; }
    std::int32_t max() const { return m_max; }
    bool needed() const { return m_needed; }

private:
    std::int32_t m_min = 0;
    std::int32_t m_max = 0;
    std::int32_t m_page = 1;
    std::int32_t m_position = 0;
    bool m_needed = false;
};

}
