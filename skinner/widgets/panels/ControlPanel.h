#pragma once

#include "skinner/core/Container.h"
#include "skinner/core/Control.h"

namespace skinner {

// A control that holds others: its inner container is filled from the skin
// form named by "FormTemplate" and by the code that creates children in it.
// Pen, keys, text, timers, focus, visibility and enabled changes go into the
// container; the children's events climb through the panel to its parent.
class ControlPanel : public Control {
public:
    // The inner container reads the given properties, or without them its parent's.
    ControlPanel(Container& container, std::u16string_view name, ControlMode mode = ControlMode::named,
        Properties* properties = nullptr);
    ~ControlPanel() override;

    // Sets the rectangle of the panel and of its container but leaves the
    // children where they are, for panels that place them themselves.
    void set_rect_no_layout(Point position, Size size);

    const Picture& background() const { return m_background; }

    // Takes the focus in its own parent, so the focus climbs to the form.
    bool on_child_focused() override;
    bool on_form_activate() override;
    void on_focus_gained() override;
    void on_focus_lost() override;
    void on_visible_changed(bool visible) override;
    // The answer of the visible child under the pen.
    bool wants_gestures() const override;
    bool wants_gestures_at(Point point) const override;
    void on_enabled_changed(bool enabled) override;
    // The background, the children, then the focus look.
    void paint(Canvas& canvas, Point area_position, Size area_size) override;
    // Hit on a visible child, else where the background is opaque.
    bool hit_test(Point point) const override;
    void on_pen_move(Point point) override;
    void on_pen_leave() override;
    void on_pen_down(Point point, std::int32_t argument) override;
    void on_pen_up(Point point, std::int32_t argument) override;
    void on_context_down(Point point, std::int32_t argument) override;
    void on_context_up(Point point, std::int32_t argument) override;
    void on_alt_down(Point point, std::int32_t argument) override;
    void on_alt_up(Point point, std::int32_t argument) override;
    void on_wheel(Point point, std::int32_t steps) override;
    bool on_text_input(std::u16string_view text) override;
    // The children first; a key none of them takes is not handled.
    bool on_keydown(KeyCode key) override;
    bool on_keyup(KeyCode key) override;
    void on_timer_broadcast(std::uint32_t timer_id) override;
    // Lays the children out in the new rectangle.
    void set_rect(Point position, Size size) override;
    // Per axis the larger of the skin's size and what the children need.
    Size get_preferred_size() const override;
    void load() override;

    Container* get_container() override { return &m_inner; }

private:
    // The panel's container, which makes the template's automatic controls when asked.
    class Inner : public Container {
    public:
        using Container::Container;
        using Container::create_auto_controls;
    };

    void load_background();

    Inner m_inner;
    Picture m_background;
};

}
