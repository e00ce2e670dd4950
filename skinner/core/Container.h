#pragma once

#include "liba/Nocopy.h"
#include "skinner/core/Control.h"
#include "skinner/core/Listener.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace skinner {

// The child controls of a form or of a panel: registered by id, kept in
// z-order, laid out by their anchors, painted, fed pen, keys, text and timer
// ticks, with the focus, the pen capture and the control under the pen. The
// events its children raise go on to its listener.
class Container : public Listener, private liba::Nocopy {
public:
    // Pointer buttons: the pen, the second button, tap-and-hold.
    static constexpr int button_pen = 0;
    static constexpr int button_alt = 1;
    static constexpr int button_context = 2;

    // Loads the layout keys; size starts as the reference size. A form or a
    // panel creates the automatic controls after its own loading.
    Container(Form& form, Properties& properties, std::u16string_view name, ControlMode mode, Listener* listener);
    ~Container() override;

    // Events climb to the listener.
    Listener* next_listener() const override { return m_listener; }

    virtual void set_focus(Control* child);
    virtual bool is_focused(const Control* child) const { return m_active && child == m_focused; }
    virtual void set_active(bool active);
    // Stores the rectangle and lays out every child.
    virtual void set_rect(Point position, Size size);
    // Stores the rectangle only, for an owner that places the children itself.
    void set_rect_no_layout(Point position, Size size)
    {
        m_position = position;
        m_size = size;
    }
    // Rebuilds the automatic controls and has every child read the skin again.
    virtual void reload_skin();
    virtual bool on_text_input(std::u16string_view text);
    // The focused child first; then Tab moves the focus.
    virtual bool on_keydown(KeyCode key);
    virtual bool on_keyup(KeyCode key);
    virtual void on_timer_broadcast(std::uint32_t timer_id);

    void register_control(Control& control);
    void unregister_control(Control& control);
    // The first child with the id, or null.
    Control* get_control(std::u16string_view id) const;

    // Pen routing, in form coordinates; button as above, argument 1 for a double tap.
    void on_pen_down(int button, Point point, std::int32_t argument);
    void on_pen_up(int button, Point point, std::int32_t argument);
    void on_pen_move(Point point);
    void on_wheel(Point point, std::int32_t steps);
    bool get_gestures_at(Point point) const;
    bool hit_child(Point point) const;
    void clear_hover();
    bool on_form_activate();

    void set_enabled(bool enabled);
    void set_visible(bool visible);
    bool is_visible() const { return m_visible; }
    bool is_enabled() const { return m_enabled; }
    bool is_active() const { return m_active; }

    // Paints the visible children that overlap the area, lowest z-order first.
    void paint(Canvas& canvas, Point area_position, Size area_size);
    // Moves the focus in tab order; true when it moved without wrapping.
    bool focus_next(bool forward);
    void sort_by_z_order();
    // What the children need: the reference size grown by children that stretch.
    Size get_extent() const;

    // The container's own keys, from its form record.
    std::int32_t get_property_int(std::u16string_view key, std::int32_t default_value) const;
    Point get_property_point(std::u16string_view key, Point default_value) const;
    Picture get_property_picture(std::u16string_view key, const Picture& default_value) const;

    void set_name(std::u16string_view name) { m_name = name; }
    const std::u16string& name() const { return m_name; }
    const std::u16string& kind() const { return m_kind; }
    ControlMode mode() const { return m_mode; }
    Properties& properties() const { return *m_properties; }
    Form& form() const { return *m_form; }
    Listener* listener() const { return m_listener; }
    void set_listener(Listener* listener) { m_listener = listener; }

    Size size() const { return m_size; }
    Point position() const { return m_position; }
    Size reference_size() const { return m_reference_size; }
    Point last_pen_point() const { return m_last_pen_point; }
    const std::vector<Control*>& children() const { return m_children; }
    Control* focused() const { return m_focused; }
    Control* hover() const { return m_hover; }
    Control* captured() const { return m_captured; }

protected:
    // Makes the controls that the skin form declares by type.
    void create_auto_controls();
    void delete_auto_controls();
    void load_layout();

private:
    void lay_out(Control& child) const;
    void set_hover(Control* child);
    Control* topmost_at(Point point) const;
    void press(Control& child, int button, Point point, std::int32_t argument);
    void release(Control& child, int button, Point point, std::int32_t argument);

    Size m_size {};
    ControlMode m_mode;
    Properties* m_properties;
    std::u16string m_name;
    std::u16string m_kind;
    Size m_reference_size {};
    Point m_position {};
    Point m_last_pen_point {};
    bool m_visible = true;
    bool m_enabled = true;
    Listener* m_listener;
    Form* m_form;
    std::vector<Control*> m_children;
    std::vector<std::unique_ptr<Control>> m_auto_controls;
    Control* m_focused = nullptr;
    bool m_active = false;
    Control* m_hover = nullptr;
    Control* m_captured = nullptr;
    std::array<bool, 3> m_pressed {};
};

}
