#pragma once

#include "skinner/widgets/buttons/ControlButton.h"
#include "skinner/widgets/panels/ControlPanel.h"

namespace skinner {

// A skinned scroll bar of five buttons: one at each end that steps by a
// line, a space before and after the thumb that steps by a page, and the
// thumb that is dragged. Holding a button repeats its step. Every change of
// the position raises on_scroll.
class ControlScrollBar : public ControlPanel {
public:
    // One of the five parts: it steps or drags its scroll bar.
    class Button : public ControlButton {
    public:
        Button(ControlScrollBar& owner, std::u16string_view kind);
        ~Button() override;

        void on_pen_move(Point point) override;
        // Steps at once, then again from the sixth tick of the repeat timer on.
        void on_pen_down(Point point, std::int32_t argument) override;
        void on_pen_up(Point point, std::int32_t argument) override;
        void on_timer(std::uint32_t timer_id) override;

    private:
        ControlScrollBar& m_owner;
        Point m_grab_offset {};
        std::int32_t m_repeat_countdown = 0;
        double m_repeat_period = 0.1;
    };

    ControlScrollBar(Container& container, std::u16string_view name, ControlMode mode = ControlMode::named);
    ~ControlScrollBar() override;

    // Clamped to min .. max - page; a change is reported and laid out, an
    // unchanged position is laid out again only when forced.
    void set_position(std::int32_t position, bool forced = false);
    void set_range(std::int32_t min, std::int32_t max);
    void set_page(std::int32_t page);

    std::int32_t get_page() const { return m_page; }

    std::int32_t scroll_position() const { return m_position; }

    std::int32_t min() const { return m_min; }

    std::int32_t max() const { return m_max; }

    bool vertical() const { return m_vertical; }

    Size track_size() const { return m_track_size; }

    const Button& button_min() const { return m_button_min; }

    const Button& button_max() const { return m_button_max; }

    const Button& space_before() const { return m_space_before; }

    const Button& space_after() const { return m_space_after; }

    const Button& track() const { return m_track; }

    // Places the five buttons by the position and the page.
    void set_rect(Point position, Size size) override;
    void load() override;
    // A line per notch, back for a turn away from the user.
    void on_wheel(Point point, std::int32_t steps) override;
    virtual void notify_scroll();

private:
    void load_bar();
    void step(const Button& button);
    // The thumb is wanted with its top-left at the point.
    void drag(const Button& button, Point wanted);

    Size m_min_button_size {};
    Size m_max_button_size {};
    Size m_track_size {};
    Button m_button_min;
    Button m_button_max;
    Button m_space_before;
    Button m_space_after;
    Button m_track;
    std::int32_t m_min = 0;
    std::int32_t m_max = 0;
    std::int32_t m_page = 1;
    std::int32_t m_step = 1;
    std::int32_t m_position = 0;
    bool m_vertical = false;
};

}
