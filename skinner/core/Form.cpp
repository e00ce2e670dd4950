#include "skinner/core/Form.h"

#include "os/Log.h"
#include "platform/core/Clock.h"
#include "platform/core/MessageBox.h"
#include "platform/core/MessageQueue.h"
#include "platform/ui/WindowManager.h"
#include "skinner/core/ModalLoop.h"
#include "skinner/menus/PopupMenu.h"
#include "skinner/skin/ScreenMetrics.h"
#include "skinner/skin/Properties.h"

#include <algorithm>

namespace skinner {

namespace {

std::vector<Form*>& form_list()
{
    static std::vector<Form*> forms;
    return forms;
}

Form* g_current_modal = nullptr;

void log_stamped(std::u16string_view text)
{
    os::log() << unsigned(platform::tick_count()) << text;
}

// One axis of the window's placement.
struct Axis {
    StartPosition mode;
    std::int32_t extent;
    std::int32_t length; // the larger of the current length and the extent
    std::int32_t coordinate; // the window's current one
    std::int32_t skin_position;
    std::int32_t work_start;
    std::int32_t work_length;
    std::int32_t owner_start;
    std::int32_t owner_length;
};

struct Placement {
    std::int32_t coordinate;
    std::int32_t length;
};

Placement place(const Axis& a, bool keep_size, bool keep_place, bool first_placement)
{
    const bool size_free = !keep_size || first_placement;
    const bool place_free = !keep_place || first_placement;
    Placement p { a.coordinate, a.length };
    switch (a.mode) {
    case StartPosition::at_position:
        if (!keep_size)
            p.length = a.extent;
        if (!keep_place)
            p.coordinate = a.skin_position;
        break;
    case StartPosition::center_work_area:
    case StartPosition::center_owner:
    case StartPosition::near_edge:
    case StartPosition::far_edge: {
        if (size_free)
            p.length = a.extent;
        if (!place_free)
            break;
        const bool on_owner = a.mode == StartPosition::center_owner;
        const std::int32_t start = on_owner ? a.owner_start : a.work_start;
        const std::int32_t length = on_owner ? a.owner_length : a.work_length;
        if (a.mode == StartPosition::near_edge)
            p.coordinate = a.work_start;
        else if (a.mode == StartPosition::far_edge)
            p.coordinate = a.work_start + a.work_length - p.length;
        else
            p.coordinate = start + (length - p.length) / 2;
        break;
    }
    case StartPosition::fill_work_area:
        p.length = std::max(a.extent, a.work_length);
        p.coordinate = a.work_start;
        break;
    case StartPosition::unchanged:
        break;
    }
    return p;
}

}

Form::Form(Form* owner, Properties& properties, std::u16string_view name, Listener* listener)
    : Form(owner, std::make_unique<FormImpl>(owner, false, true), properties, name, listener)
{
}

Form::Form(Form* owner, std::unique_ptr<FormImpl> window, Properties& properties, std::u16string_view name,
    Listener* listener)
    : FormImplHolder(std::move(window))
    , Container(*this, properties, name, ControlMode::named, listener)
    , m_owner(owner)
{
    m_window->set_form(this);
    form_list().push_back(this);
    properties.attach(*this);
    load();
    create_auto_controls();
}

Form::~Form()
{
    properties().detach(*this);
    std::erase(form_list(), this);
    if (g_current_modal == this)
        g_current_modal = nullptr;
    delete_auto_controls();
    m_window->set_form(nullptr);
}

const std::vector<Form*>& Form::forms()
{
    return form_list();
}

Form* Form::current_modal()
{
    return g_current_modal;
}

void Form::load()
{
    m_background = get_property_picture(u"Background", {});
    m_start_position = StartPosition(get_property_int(u"StartPosition", std::int32_t(m_start_position)));
    m_start_position_x = StartPosition(get_property_int(u"StartPositionX", std::int32_t(m_start_position)));
    m_start_position_y = StartPosition(get_property_int(u"StartPositionY", std::int32_t(m_start_position)));
    m_font = Font(properties().impl().scale());
    m_font.set_description(u"14 1 0 0 Tahoma");
    update_window_position();
    m_window->reset_back_buffer();
    invalidate_all();
    update_menu_main();
}

void Form::reload_skin()
{
    Container::reload_skin();
    load();
    relayout();
}

bool Form::on_keydown(KeyCode key)
{
    if (Container::on_keydown(key))
        return true;
    Pushable* button = key == key::escape ? m_cancel_button : key == key::enter ? m_default_button : nullptr;
    if (!button)
        return false;
    button->set_pushed(true);
    return true;
}

bool Form::on_keyup(KeyCode key)
{
    if (Container::on_keyup(key))
        return true;
    Pushable* button = key == key::escape ? m_cancel_button : key == key::enter ? m_default_button : nullptr;
    if (!button)
        return false;
    button->set_pushed(false);
    return true;
}

Point Form::get_window_position() const
{
    const platform::Rect rect = platform::window_rect(m_window->handle());
    return { rect.left, rect.top };
}

bool Form::is_window_visible() const
{
    return platform::is_window_visible(m_window->handle());
}

void Form::update_window_position()
{
    const Size extent = get_extent();
    const platform::Rect current = platform::window_rect(m_window->handle());
    const Point skin_position = get_property_point(u"Position", {});
    const Size length { std::max(current.width(), extent.width), std::max(current.height(), extent.height) };
    if (m_start_position_x == StartPosition::unchanged || m_start_position_y == StartPosition::unchanged
        || (current.width() == 0 && current.height() == 0))
        return;
    const WorkAreaRect work = get_work_area(true);
    const Point owner_start = m_owner ? m_owner->get_window_position() : work.top_left;
    const Size owner_size = m_owner ? m_owner->get_size() : work.size;
    const bool keep_size = m_window->keeps_size();
    const bool keep_place = m_window->keeps_place();
    const Placement x = place({ m_start_position_x, extent.width, length.width, current.left, skin_position.x,
                                  work.top_left.x, work.size.width, owner_start.x, owner_size.width },
        keep_size, keep_place, m_first_placement);
    const Placement y = place({ m_start_position_y, extent.height, length.height, current.top, skin_position.y,
                                  work.top_left.y, work.size.height, owner_start.y, owner_size.height },
        keep_size, keep_place, m_first_placement);
    m_window->move_window({ x.coordinate, y.coordinate }, { x.length, y.length });
    m_first_placement = false;
}

void Form::on_copy_data(std::u16string_view)
{
    m_window->set_foreground();
}

void Form::on_picture_failed_to_load(const Picture& picture)
{
    // The image cache does not say which file an image came from, so the
    // message carries the caption only.
    message_box(this, properties().translator().translate(u"on_picture_failed_to_load", u"Out of memory"), u"");
    if (m_in_modal_loop)
        close();
    else if (m_owner)
        m_owner->on_picture_failed_to_load(picture);
}

void Form::do_modal()
{
    Form* previous = g_current_modal;
    g_current_modal = this;
    m_in_modal_loop = true;
    log_stamped(u" Form::do_modal: 1\n");
    log_stamped(u" Form::do_modal: 2\n");
    set_full_screen_mode(m_full_screen);
    set_active(true);
    log_stamped(u" Form::do_modal: 3\n");
    run_modal_loop(*this);
    set_active(false);
    m_in_modal_loop = false;
    g_current_modal = previous;
    if (!previous) {
        set_full_screen_mode(false);
        return;
    }
    previous->update_menu_main();
    set_full_screen_mode(previous->full_screen());
}

void Form::close()
{
    if (m_window->is_drop_down()) {
        // Releasing alone would leave the drop-down's loop running.
        if (platform::capture_window() == m_window->handle())
            platform::release_capture();
        platform::post_message(m_window->handle(), platform::msg::form_close);
        return;
    }
    os::log() << u"Form WM_CLOSE sent\n";
    platform::send_message(m_window->handle(), platform::msg::close);
}

void Form::show(bool visible)
{
    if (is_window_visible() == visible)
        return;
    platform::show_window(m_window->handle(), visible ? platform::sw::show : platform::sw::hide);
    invalidate_all();
    if (MenuManagerImpl* menus = m_window->menu_manager())
        menus->set_visible(*this, visible && !m_full_screen);
}

bool Form::on_popup_menu(Control&, const MenuEntry& menu, Point point, std::u16string& chosen)
{
    chosen = show_popup_menu(*this, menu, point);
    return true;
}

bool Form::on_menu_bar_item(Control&, MenuBarItem& item, bool listed)
{
    if (listed)
        m_menu_items.add(item);
    else
        m_menu_items.remove(item);
    return true;
}

bool Form::on_menu_bar_changed(Control&)
{
    m_menu_items.update();
    return true;
}

void Form::register_menu_main(Control& control)
{
    if (m_menu_main)
        os::fatal_error(u"Form::register_menu_main", u"Menu main is already exists");
    m_menu_main = &control;
    update_menu_main();
}

void Form::unregister_menu_main(Control& control)
{
    if (m_menu_main != &control)
        os::fatal_error(u"Form::unregister_menu_main", u"Menus do not match");
    m_menu_main = nullptr;
    update_menu_main();
}

void Form::update_menu_main()
{
    if (!m_menu_main)
        return;
    if (MenuManagerImpl* menus = m_window->menu_manager())
        menus->invalidate();
    m_menu_main->invalidate();
}

void Form::message_box(const Form*, std::u16string_view caption, std::u16string_view text)
{
    platform::message_box(text, caption);
}

}
