#pragma once

#include "skinner/core/Container.h"
#include "skinner/core/Pushable.h"
#include "skinner/core/FormImplHolder.h"
#include "skinner/menus/MenuManager.h"
#include "skinner/graphics/Font.h"
#include "skinner/skin/Picture.h"
#include "skinner/skin/SkinClient.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace skinner {

// How a form places its window along one axis (the skin's "StartPosition",
// "StartPositionX", "StartPositionY").
enum class StartPosition : std::int32_t {
    at_position = 0, // the skin's "Position", the extent's length
    center_work_area = 1,
    center_owner = 2,
    fill_work_area = 3,
    near_edge = 4,
    far_edge = 5,
    unchanged = 6,
};

// The base of every skinned window: a container that owns its platform
// window, places it on the screen, runs modally with its own message loop,
// and holds its main menu and its Enter and Escape buttons. Every form is
// in the program-wide form list for its life.
class Form : private FormImplHolder, public Container, private SkinClient {
public:
    // Makes its own visible window, a popup of the owner's.
    Form(Form* owner, Properties& properties, std::u16string_view name, Listener* listener = nullptr);
    // Over a window object the caller made (the main form, a drop-down).
    Form(Form* owner, std::unique_ptr<FormImpl> window, Properties& properties, std::u16string_view name,
        Listener* listener = nullptr);
    ~Form() override;

    void reload_skin() override;
    // The menus its controls ask for: pop-up menus and the menu bar's items.
    bool on_popup_menu(Control& sender, const MenuEntry& menu, Point point, std::u16string& chosen) override;
    bool on_menu_bar_item(Control& sender, MenuBarItem& item, bool listed) override;
    bool on_menu_bar_changed(Control& sender) override;
    // Unhandled Escape and Enter hold the cancel and default buttons down.
    bool on_keydown(KeyCode key) override;
    bool on_keyup(KeyCode key) override;
    virtual void update_window_position();
    virtual bool can_close() { return true; }
    // Text another program sent: the form comes to the front.
    virtual void on_copy_data(std::u16string_view text);
    virtual void on_picture_failed_to_load(const Picture& picture);

    // Runs the form's own message loop until it closes.
    void do_modal();
    // A drop-down releases the capture and ends its loop; any other form is
    // asked to close through its window (which consults can_close).
    void close();
    void show(bool visible);

    void register_menu_main(Control& control);
    void unregister_menu_main(Control& control);
    void update_menu_main();
    bool has_menu_main() const { return m_menu_main != nullptr; }
    // The items of the form's menu bar.
    MenuManager& menu_items() { return m_menu_items; }

    void invalidate_rect(Point position, Size size) { m_window->invalidate_rect(position, size); }
    void invalidate_all() { m_window->invalidate_all(); }
    std::uint32_t set_timer(double seconds) { return m_window->set_timer(seconds); }
    void kill_timer(std::uint32_t id) { m_window->kill_timer(id); }
    void set_cursor(Cursor cursor) { m_window->set_cursor(cursor); }

    Size get_size() const { return size(); }
    Point get_window_position() const;
    bool is_window_visible() const;
    // A message box with an OK button; the form may be null.
    static void message_box(const Form* form, std::u16string_view caption, std::u16string_view text);

    FormImpl& window() const { return *m_window; }
    Form* owner() const { return m_owner; }
    const Picture& background() const { return m_background; }
    const Font& font() const { return m_font; }
    bool in_modal_loop() const { return m_in_modal_loop; }
    bool full_screen() const { return m_full_screen; }
    void set_full_screen(bool full_screen) { m_full_screen = full_screen; }
    StartPosition start_position_x() const { return m_start_position_x; }
    StartPosition start_position_y() const { return m_start_position_y; }

    void set_default_button(Pushable* button) { m_default_button = button; }
    void set_cancel_button(Pushable* button) { m_cancel_button = button; }

    // Every form alive, in construction order.
    static const std::vector<Form*>& forms();
    // The form whose modal loop runs innermost, or null.
    static Form* current_modal();

private:
    void construct();
    // The form's own keys: background, placement modes, font.
    void load();
    void relayout() { set_rect(position(), size()); }

    Font m_font;
    bool m_first_placement = true;
    MenuManager m_menu_items { *this };
    Pushable* m_default_button = nullptr;
    Pushable* m_cancel_button = nullptr;
    bool m_in_modal_loop = false;
    Form* m_owner;
    Control* m_menu_main = nullptr;
    Picture m_background;
    StartPosition m_start_position = StartPosition::at_position;
    StartPosition m_start_position_x = StartPosition::at_position;
    StartPosition m_start_position_y = StartPosition::at_position;
    bool m_full_screen = false;
};

}
