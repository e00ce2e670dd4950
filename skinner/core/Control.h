#pragma once

#include "liba/Nocopy.h"
#include "skinner/core/KeyCode.h"
#include "skinner/core/Listener.h"
#include "skinner/graphics/Color.h"
#include "skinner/graphics/Cursor.h"
#include "skinner/graphics/Point.h"
#include "skinner/graphics/Size.h"
#include "skinner/graphics/Font.h"
#include "skinner/skin/Picture.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace skinner {

class Canvas;
class Container;
class Form;
class Properties;

// How a control finds its skin record.
enum class ControlMode : std::int32_t {
    named = 0, // the name is its id, looked up in its container's form
    kind = 1, // anonymous: the name is a kind of the skin's kinds tree
    unskinned = 2, // no skin properties: loading reads nothing
};

// Where a control's side goes when its container changes size.
enum class Anchor : std::int32_t {
    min_side = 0, // fixed distance from the near edge, fixed length
    both_sides = 1, // both edges follow: the length grows with the container
    max_side = 2, // fixed distance from the far edge, fixed length
    ratio = 3, // position and length scale with the container
    center = 4, // the centre scales, fixed length
};

// The base of every skinned control: a rectangle of a form's window, owned by
// a container that feeds it pen, keys and timers, painted onto the form's
// back buffer. Its rectangle is in the form's client coordinates and is set
// only by the container's layout. Events it raises on itself climb through
// its container (see Listener).
class Control : public Listener, private liba::Nocopy {
public:
    // Reads the common skin keys and registers with the container, which
    // lays the control out at once; a duplicate id ends the program.
    Control(Container& container, std::u16string_view name, ControlMode mode = ControlMode::named);
    ~Control() override;

    // Events climb to the container.
    Listener* next_listener() const override;

    virtual void set_z_order(std::int32_t z_order);
    virtual void set_want_focus(bool want);
    virtual bool wants_focus() const { return m_want_focus; }
    virtual bool on_form_activate() { return false; }
    virtual void on_focus_gained() { invalidate(); }
    virtual void on_focus_lost() { invalidate(); }
    virtual void on_visible_changed(bool /*visible*/) { }
    virtual bool wants_gestures() const { return m_gestures; }
    // Whether a press at the point (form coordinates) on this control wants
    // tap-and-hold recognition; a control that holds others asks the one there.
    virtual bool wants_gestures_at(Point /*point*/) const { return wants_gestures(); }
    virtual void on_enabled_changed(bool /*enabled*/) { }
    // Draws the focus look over the control while it has the focus.
    virtual void paint(Canvas& canvas, Point area_position, Size area_size);
    virtual Cursor get_cursor() const { return m_cursor; }
    virtual bool hit_test(Point point) const;
    virtual void on_pen_enter() { }
    virtual void on_pen_move(Point /*point*/) { }
    virtual void on_pen_leave() { }
    // argument 1 for a double tap.
    virtual void on_pen_down(Point /*point*/, std::int32_t /*argument*/) { }
    virtual void on_pen_up(Point /*point*/, std::int32_t /*argument*/) { }
    virtual void on_context_down(Point /*point*/, std::int32_t /*argument*/) { }
    virtual void on_context_up(Point /*point*/, std::int32_t /*argument*/) { }
    virtual void on_alt_down(Point /*point*/, std::int32_t /*argument*/) { }
    virtual void on_alt_up(Point /*point*/, std::int32_t /*argument*/) { }
    virtual void on_wheel(Point /*point*/, std::int32_t /*steps*/) { }
    virtual bool on_text_input(std::u16string_view /*text*/) { return false; }
    virtual bool on_keydown(KeyCode /*key*/) { return false; }
    virtual bool on_keyup(KeyCode /*key*/) { return false; }
    virtual void on_timer(std::uint32_t /*timer_id*/) { }
    // Every tick of the form reaches every control; this one reacts to its own.
    virtual void on_timer_broadcast(std::uint32_t timer_id);
    // Invalidates the old and the new rectangle when either part changed.
    virtual void set_rect(Point position, Size size);
    virtual Size get_preferred_size() const { return m_skin_size; }
    // Reads the skin again (skin or language changed); overrides call this first.
    virtual void load();
    // The inner container of a control that holds others; null for a plain one.
    virtual Container* get_container() { return nullptr; }

    // Typed skin lookups for this control; the default when the key is missing.
    Color get_property_color(std::u16string_view key, Color default_value) const;
    // Translated.
    std::u16string get_property_string(std::u16string_view key, std::u16string_view default_value) const;
    // Multiplied by the skin's scale; the default comes back unscaled.
    std::int32_t get_property_int_scaled(std::u16string_view key, std::int32_t default_value) const;
    std::int32_t get_property_int(std::u16string_view key, std::int32_t default_value) const;
    Point get_property_point(std::u16string_view key, Point default_value) const;
    Cursor get_property_cursor(std::u16string_view key, Cursor default_value) const;
    Picture get_property_picture(std::u16string_view key, const Picture& default_value) const;
    Font get_property_font(std::u16string_view key, const Font& default_value) const;

    std::u16string translate(std::u16string_view key) const;
    std::u16string translate(std::u16string_view key, std::u16string_view default_value) const;

    Container& container() const { return *m_container; }
    Form& get_form() const;
    Properties& get_properties() const;

    ControlMode mode() const { return m_mode; }
    const std::u16string& id() const { return m_id; }
    const std::u16string& kind() const { return m_kind; }
    std::int32_t z_order() const { return m_z_order; }
    std::int32_t tab_order() const { return m_tab_order; }
    Anchor anchor_x() const { return m_anchor_x; }
    Anchor anchor_y() const { return m_anchor_y; }
    Point position() const { return m_position; }
    Size size() const { return m_size; }
    Point skin_position() const { return m_skin_position; }
    Size skin_size() const { return m_skin_size; }
    const Picture& focus_picture() const { return m_focus_picture; }
    std::uint32_t timer_id() const { return m_timer_id; }

    // Own flag and container's.
    bool is_visible() const;
    bool is_enabled() const;
    bool own_visible() const { return m_visible; }
    bool own_enabled() const { return m_enabled; }
    bool is_hovered() const;
    bool has_focus() const;
    // Takes the container's focus and tells enclosing panels to take theirs.
    void take_focus();

    void set_visible(bool visible);
    void set_enabled(bool enabled);
    // The container's visibility or enabled state changed.
    void renotify_visible();
    void renotify_enabled();
    void invalidate();
    void update_layout();

    // The control's own repeating timer on its form; a new one replaces the old.
    void set_timer(double seconds);
    void kill_timer();

    static bool is_key_down(std::int32_t which) { return skinner::is_key_down(which); }

    static bool compare_z_order(const Control* a, const Control* b) { return a->m_z_order < b->m_z_order; }
    static bool compare_tab_order(const Control* a, const Control* b) { return a->m_tab_order < b->m_tab_order; }

    // (0, 0) when the font has no platform font.
    static Size measure_text(const Font& font, std::u16string_view text);

protected:
    // The common keys, in this order: Cursor, AnchorX, AnchorY, Focus,
    // TabOrder, Position, Size, Visible, Enabled, Gestures, ZOrder, WantFocus.
    void load_common();
    // The skin's "Gestures" key still overrides this at the next load.
    void set_gestures(bool gestures) { m_gestures = gestures; }

private:
    // The form and control (or empty form and kind) that name this control's record.
    std::u16string_view record_form() const;
    std::u16string_view record_control() const;

    ControlMode m_mode;
    Container* m_container;
    std::u16string m_id;
    std::u16string m_kind;
    Cursor m_cursor {};
    std::int32_t m_z_order = 0;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_want_focus = true;
    Anchor m_anchor_x = Anchor::min_side;
    Anchor m_anchor_y = Anchor::min_side;
    Point m_position {};
    Size m_size {};
    Point m_skin_position {};
    Size m_skin_size {};
    Picture m_focus_picture;
    std::uint32_t m_timer_id = 0;
    std::int32_t m_tab_order = 0;
    bool m_gestures = false;
};

// The anchor a skin's name stands for; min_side for anything not spelled exactly.
Anchor anchor_from_name(std::u16string_view name);

}
