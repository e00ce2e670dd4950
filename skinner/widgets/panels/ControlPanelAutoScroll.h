#pragma once

#include "skinner/widgets/panels/ControlPanel.h"
#include "skinner/widgets/panels/ControlScrollBar.h"

namespace skinner {

// A panel with a vertical and a horizontal scroll bar around a content
// area inset by borders; the control that fills the content area (a grid)
// tells it how much room the content wants, and the bars show when needed.
class ControlPanelAutoScroll : public ControlPanel {
public:
    ControlPanelAutoScroll(Container& container, std::u16string_view name,
        ControlMode mode = ControlMode::named, Properties* properties = nullptr);
    ~ControlPanelAutoScroll() override;

    // Gives the content control the content area that is left once the
    // bars that the wanted size needs are shown.
    void update_scroll_layout(Control& content, Size content_size);
    // Puts the bars beside and below the content area.
    void place_scroll_bars();

    Point client_position() const { return m_client_position; }

    Size client_size() const { return m_client_size; }

    ControlScrollBar& vscroll() { return m_vscroll; }

    ControlScrollBar& hscroll() { return m_hscroll; }

    std::int32_t scroll_width() const { return m_scroll_width; }

    std::int32_t scroll_height() const { return m_scroll_height; }

    Point border_min() const { return m_border_min; }

    Point border_max() const { return m_border_max; }

    Point scroll_border_min() const { return m_scroll_border_min; }

    Point scroll_border_max() const { return m_scroll_border_max; }

    void load() override;

private:
    void load_scrolling();

    Point m_client_position {};
    Size m_client_size {};
    std::int32_t m_scroll_width = 0;
    std::int32_t m_scroll_height = 0;
    Point m_border_min {};
    Point m_border_max {};
    Point m_scroll_border_min {};
    Point m_scroll_border_max {};
    ControlScrollBar m_vscroll;
    ControlScrollBar m_hscroll;
};

}
