#pragma once

#include "platform/core/Window.h"
#include "platform/ui/Bitmap.h"
#include "platform/core/Cursor.h"
#include "skinner/graphics/Cursor.h"
#include "skinner/graphics/Point.h"
#include "skinner/graphics/Size.h"
#include "skinner/menus/MenuManagerImpl.h"
#include "skinner/core/ControlSubclass.h"

#include <array>
#include <cstdint>
#include <deque>
#include <memory>

namespace skinner {

class Form;

// The platform window of a form: turns window messages into calls on the
// form, keeps the pen capture per pointer button, gathers the invalid area
// and paints it through a back buffer, and runs the form's timers.
class FormImpl : public ControlSubclass {
public:
    // A new window, a popup of the owner's window when there is one.
    FormImpl(Form* owner, bool drop_down, bool visible);
    // Serves a window that the caller made (the drop-down's); it is destroyed with this object.
    FormImpl(platform::Window existing, bool drop_down);
    ~FormImpl() override;

    platform::LResult window_proc(platform::MessageId message, platform::WParam wparam, platform::LParam lparam,
        MessageContext& context) override;

    platform::Window handle() const { return window(); }
    // Set by the form once it is built, cleared before it deletes this object.
    void set_form(Form* form) { m_form = form; }
    Form* form() const { return m_form; }
    bool is_drop_down() const { return m_drop_down; }
    bool direct_paint() const { return m_direct_paint; }
    // Null until the edition's menu manager is in place.
    MenuManagerImpl* menu_manager() const { return m_menu_manager.get(); }
    void set_menu_manager(std::unique_ptr<MenuManagerImpl> manager) { m_menu_manager = std::move(manager); }

    // The window flags behind the form's placement (see Form::update_window_position).
    std::array<std::uint32_t, 4>& flags() { return m_flags; }
    bool keeps_size() const { return m_flags[1] || m_flags[2]; }
    bool keeps_place() const { return m_flags[1] || m_flags[2] || m_flags[3]; }

    // A repeating timer with a program-wide id, never reused; answers the id.
    std::uint32_t set_timer(double seconds);
    void kill_timer(std::uint32_t id);
    // Adds the rectangle (client coordinates) to the area the next paint renders.
    void invalidate_rect(Point position, Size size);
    // The whole client area, with a new back buffer.
    void invalidate_all();
    void reset_back_buffer() { m_back_buffer.reset(); }
    void move_window(Point position, Size size);
    void set_foreground();
    void set_input_panel(bool show);

    Point dirty_position() const { return m_dirty_position; }
    Size dirty_size() const { return m_dirty_size; }
    // The pointer shape over the control under the pen, shown at once.
    void set_cursor(Cursor cursor)
    {
        m_cursor = cursor;
        platform::set_cursor(platform::cursor_shape(cursor.id));
    }
    Cursor cursor() const { return m_cursor; }

private:
    void create(Form* owner, bool visible);
    bool handle_message(platform::MessageId message, platform::WParam wparam, platform::LParam lparam,
        platform::LResult& result);
    void on_size(platform::WParam wparam, platform::LParam lparam);
    // True when the message is taken over.
    bool on_activate(platform::WParam wparam);
    void on_setting_change(platform::WParam wparam);
    void on_copy_data(platform::LParam lparam);
    void on_handover();
    void on_user_key(platform::WParam wparam, platform::LParam lparam);
    void on_close();
    void on_capture_changed(platform::LParam lparam);
    void on_left_button_down(Point point);
    void pen_down(Point point, int button, std::int32_t argument);
    void pen_up(Point point, int button);
    // The wheel at a screen point, in whole notches to the form's controls.
    void on_wheel(platform::WParam wparam, platform::LParam lparam);
    void paint_window();
    void paint_buffered();
    void paint_direct();

    std::unique_ptr<MenuManagerImpl> m_menu_manager;
    std::array<std::uint32_t, 4> m_flags {};
    std::array<bool, 3> m_pressed {};
    std::array<std::int32_t, 3> m_press_argument {};
    Point m_last_pen_point {};
    std::int32_t m_wheel_rest = 0;
    bool m_direct_paint = false;
    bool m_drop_down = false;
    Point m_dirty_position {};
    Size m_dirty_size {};
    std::unique_ptr<platform::Bitmap> m_back_buffer;
    Form* m_form = nullptr;
    std::deque<std::u16string> m_handovers;
    Cursor m_cursor {};
};

}
