#include "skinner/core/FormImpl.h"

#include "os/Application.h"
#include "os/Log.h"
#include "os/Registry.h"
#include "platform/core/Clock.h"
#include "platform/core/MessageQueue.h"
#include "platform/ui/DeviceContext.h"
#include "platform/ui/Input.h"
#include "platform/ui/Paint.h"
#include "platform/ui/Screen.h"
#include "platform/ui/WindowManager.h"
#include "skinner/skin/Edition.h"
#include "skinner/core/KeyCode.h"
#include "skinner/core/Form.h"
#include "skinner/graphics/Canvas.h"
#include "skinner/core/MessageLoop.h"
#include "skinner/skin/ScreenMetrics.h"
#include "platform/ui/Shell.h"
#include "skinner/menus/MenuManagerImplPocket.h"
#include "skinner/menus/MenuManagerImplSmartphone.h"

#include <cmath>
#include <limits>

namespace skinner {

namespace {

// Style bits that the first two window flags stand for.
constexpr std::uint32_t flag_1_style = 0x00010000;
constexpr std::uint32_t flag_2_style = 0x00020000;
constexpr std::uint32_t restyle_flags = 0x217; // no size, move, z-order or activation; frame changed

// What a fresh back buffer shows until the form has painted over it.
constexpr platform::ColorRef back_buffer_fill = 0x00FFFF00;

// Setting-change codes after which a form places its window again.
constexpr platform::WParam screen_resolution_changed[] { 0x3002, 0x2F };
constexpr platform::WParam work_area_changed = 0xE0;
// A handed-over command line, run after the copy-data message that brought it.
constexpr platform::MessageId handover_message = platform::msg::form_close + 1;

std::uint32_t g_next_timer_id = 1;

std::unique_ptr<MenuManagerImpl> make_menu_manager()
{
    // The shell is the device the framework was built for.
    platform::set_shell_kind(is_smartphone ? platform::ShellKind::smartphone
            : uses_soft_keys              ? platform::ShellKind::pocket_pc_soft_keys
                                          : platform::ShellKind::pocket_pc);
    if (is_smartphone)
        return std::make_unique<MenuManagerImplSmartphone>();
    return std::make_unique<MenuManagerImplPocket>(uses_soft_keys);
}

// The focus moves of the Smartphone edition, where keys alone move it.
void trace_focus(const char16_t* what, platform::Window window, platform::WParam other)
{
    os::log() << u"FormImpl::" << what << u" hwnd=" << unsigned(window) << u" other=" << unsigned(other)
              << u"\n";
}

std::u16string class_name()
{
    if (const os::Application* application = os::Application::instance())
        return application->window_class_name();
    return u"SkinnerClass_";
}

bool read_flicker_switch()
{
    std::uint32_t flicker = 0;
    os::registry_read_dword(u"HKEY_CURRENT_USER\\Software\\Qiro", u"Flicker", flicker);
    return flicker != 0;
}
}

FormImpl::FormImpl(Form* owner, bool drop_down, bool visible)
    : m_direct_paint(read_flicker_switch())
    , m_drop_down(drop_down)
{
    create(owner, visible);
    m_menu_manager = make_menu_manager();
}

FormImpl::FormImpl(platform::Window existing, bool drop_down)
    : m_direct_paint(read_flicker_switch())
    , m_drop_down(drop_down)
{
    subclass(existing);
    m_menu_manager = make_menu_manager();
}

FormImpl::~FormImpl()
{
    const platform::Window window = handle();
    unsubclass();
    if (window != platform::no_window)
        platform::destroy_window(window);
}

void FormImpl::create(Form* owner, bool visible)
{
    using namespace platform;
    register_window_class({ class_name(), {}, false,
        cs::vertical_redraw | cs::horizontal_redraw | cs::double_clicks });
    WindowParams params;
    params.class_name = class_name();
    params.title = u"Loading...";
    params.style = (owner ? ws::popup : (is_smartphone ? 0 : ws::sys_menu)) | (visible ? ws::visible : 0)
        | ws::clip_children;
    params.parent = owner ? owner->window().handle() : no_window;
    subclass(create_window(params));
}

std::uint32_t FormImpl::set_timer(double seconds)
{
    const std::uint32_t id = g_next_timer_id++;
    // A negative or absurd period is not an error to end the program for: it
    // runs as fast or as slow as the timer allows.
    const double ms = seconds * 1000.0;
    std::uint32_t period = 0;
    if (ms >= double(std::numeric_limits<std::uint32_t>::max()))
        period = std::numeric_limits<std::uint32_t>::max();
    else if (ms > 0)
        period = std::uint32_t(ms);
    platform::set_timer(handle(), id, period);
    return id;
}

void FormImpl::kill_timer(std::uint32_t id)
{
    if (id != 0)
        platform::kill_timer(handle(), id);
}

void FormImpl::invalidate_rect(Point position, Size size)
{
    const platform::Rect added = platform::Rect::from(position, size);
    const platform::Rect dirty = platform::Rect::from(m_dirty_position, m_dirty_size);
    const platform::Rect united = dirty.empty() ? added : dirty.unite(added);
    m_dirty_position = { united.left, united.top };
    m_dirty_size = { united.width(), united.height() };
    if (!united.empty())
        platform::invalidate_rect(handle(), united, false);
}

void FormImpl::invalidate_all()
{
    m_dirty_position = {};
    m_dirty_size = m_form ? m_form->get_size() : Size {};
    m_back_buffer.reset();
    platform::invalidate_rect(handle(), std::nullopt, false);
}

void FormImpl::move_window(Point position, Size size)
{
    const std::uint32_t style = platform::window_style(handle());
    const std::uint32_t wanted = (style & ~(flag_1_style | flag_2_style)) | (m_flags[0] ? flag_1_style : 0)
        | (m_flags[1] ? flag_2_style : 0);
    if (wanted != style) {
        platform::set_window_style(handle(), wanted);
        platform::set_window_pos(handle(), platform::no_window, {}, restyle_flags);
    }
    if (is_full_screen_mode() && m_form && Form::current_modal() == m_form)
        platform::set_full_screen(handle(), platform::shfs::hide_task_bar | platform::shfs::hide_input_button);
    platform::move_window(handle(), platform::Rect::from(position, size), true);
}

void FormImpl::set_foreground()
{
    if (platform::is_window_enabled(handle())) {
        platform::set_foreground_window(handle());
        return;
    }
    // Owned windows count as top-level here, topmost first.
    for (platform::Window top : platform::top_level_windows_by_z_order())
        if (platform::window_parent(top) == handle() && platform::is_window_enabled(top)) {
            platform::set_foreground_window(top);
            return;
        }
}

void FormImpl::set_input_panel(bool show)
{
    if constexpr (!is_smartphone)
        platform::set_input_panel_preference(show);
}

// Messages

platform::LResult FormImpl::window_proc(
    platform::MessageId message, platform::WParam wparam, platform::LParam lparam, MessageContext& context)
{
    if (!m_form)
        return 0;
    platform::LResult result = 0;
    if (handle_message(message, wparam, lparam, result))
        context.pass_on = false;
    namespace msg = platform::msg;
    const bool rebuilds_menu = message != msg::erase_background && message != msg::set_focus
        && message != msg::close && message != msg::ime_composition;
    if (rebuilds_menu && m_form && m_form->has_menu_main() && m_menu_manager)
        m_menu_manager->build(*m_form);
    return result;
}

bool FormImpl::handle_message(
    platform::MessageId message, platform::WParam wparam, platform::LParam lparam, platform::LResult& result)
{
    namespace msg = platform::msg;
    Form& form = *m_form;
    switch (message) {
    case msg::erase_background:
        result = 1;
        return true;
    case msg::size:
        on_size(wparam, lparam);
        return false;
    case msg::activate:
        return on_activate(wparam);
    case msg::set_focus:
        if constexpr (is_smartphone)
            trace_focus(u"WM_SETFOCUS", handle(), wparam);
        return true;
    case msg::kill_focus:
        if constexpr (is_smartphone)
            trace_focus(u"WM_KILLFOCUS", handle(), wparam);
        return false;
    case msg::paint:
        paint_window();
        return true;
    case msg::close:
        on_close();
        return true;
    case msg::setting_change:
    case msg::user_setting:
        on_setting_change(wparam);
        return false;
    case msg::copy_data:
        on_copy_data(lparam);
        return false;
    case handover_message:
        on_handover();
        return true;
    case msg::key_down:
    case msg::sys_key_down:
        if constexpr (is_smartphone)
            form.on_keydown(map_key(std::uint32_t(wparam)));
        return false;
    case msg::key_up:
    case msg::sys_key_up:
        form.on_keyup(map_key(std::uint32_t(wparam)));
        return false;
    case msg::character:
        if constexpr (is_smartphone)
            if (wparam > 31)
                form.on_text_input(std::u16string(1, char16_t(wparam)));
        return false;
    case msg::user_key:
        if constexpr (!is_smartphone)
            on_user_key(wparam, lparam);
        return false;
    case msg::ime_composition:
        if (lparam & platform::gcs_result_string)
            form.on_text_input(platform::input_method_result(handle()));
        return false;
    case msg::command:
        if (m_menu_manager)
            m_menu_manager->on_command(form, wparam);
        return false;
    case msg::timer:
        form.on_timer_broadcast(std::uint32_t(wparam));
        return false;
    case msg::init_menu_popup:
        if (m_menu_manager)
            m_menu_manager->on_init_menu_popup(form, platform::Menu(wparam), std::uint32_t(lparam & 0xFFFF));
        return false;
    case msg::mouse_move:
        form.on_pen_move(platform::point_of(lparam));
        return false;
    case msg::left_button_down:
        on_left_button_down(platform::point_of(lparam));
        return false;
    case msg::left_button_up:
        pen_up(platform::point_of(lparam), Container::button_pen);
        return false;
    case msg::left_button_double_click:
        pen_down(platform::point_of(lparam), Container::button_pen, 1);
        return false;
    case msg::mouse_wheel:
        on_wheel(wparam, lparam);
        return true;
    case msg::capture_changed:
        on_capture_changed(lparam);
        return false;
    case msg::hot_key:
        if (m_menu_manager)
            m_menu_manager->on_hotkey(form, wparam, lparam);
        return false;
    default:
        return false;
    }
}

void FormImpl::on_size(platform::WParam wparam, platform::LParam lparam)
{
    if (wparam == platform::size_minimized)
        return;
    m_form->set_rect({}, { std::int32_t(lparam & 0xFFFF), std::int32_t((lparam >> 16) & 0xFFFF) });
    invalidate_all();
}

bool FormImpl::on_activate(platform::WParam wparam)
{
    if constexpr (is_smartphone) {
        // Keys alone move the focus here: an inactive form would never tell a
        // control that it has it, and an edit box would never get its window's.
        m_form->set_active(wparam != platform::wa::inactive);
        return wparam != platform::wa::inactive && m_form->on_form_activate();
    }
    if (wparam == platform::wa::inactive) {
        m_form->set_active(false);
        return false;
    }
    m_form->set_active(true);
    m_form->update_window_position();
    if (m_menu_manager)
        m_menu_manager->set_visible(*m_form, platform::is_window_visible(handle()) && !m_form->full_screen());
    return false;
}

void FormImpl::on_setting_change(platform::WParam wparam)
{
    for (platform::WParam code : screen_resolution_changed)
        if (wparam == code) {
            m_form->on_command(u"#ScreenResolution#");
            m_form->update_window_position();
            return;
        }
    if (wparam == work_area_changed)
        m_form->update_window_position();
}

void FormImpl::on_copy_data(platform::LParam lparam)
{
    const platform::CopyData* data = platform::copy_data_message.payload(0, lparam);
    if (!data || data->data_word != 0)
        return;
    // The sender may have counted its string's terminating zero: it is no part of the text.
    // It runs after this message: what it does may show a box, and its sender waits on us.
    m_handovers.push_back(os::Application::command_line_from(*data));
    if (!platform::post_message(handle(), handover_message))
        m_handovers.pop_back();
}

void FormImpl::on_handover()
{
    if (m_handovers.empty())
        return;
    std::u16string text = std::move(m_handovers.front());
    m_handovers.pop_front();
    m_form->on_copy_data(text);
}

void FormImpl::on_user_key(platform::WParam wparam, platform::LParam lparam)
{
    if (lparam != 0 && m_form->on_text_input(std::u16string(1, char16_t(lparam))))
        return;
    m_form->on_keydown(map_key(std::uint32_t(wparam)));
}

void FormImpl::on_close()
{
    os::log() << unsigned(platform::tick_count()) << u" WM_CLOSE received\n";
    if (m_drop_down) {
        if (Form* owner = m_form->owner())
            platform::set_focus(owner->window().handle());
        platform::post_message(handle(), platform::msg::form_close);
        return;
    }
    // Forms over this one close first, each as it would by itself.
    if (close_inner_loops_first(handle()))
        return;
    if (!m_form->can_close())
        return;
    platform::post_message(handle(), platform::msg::form_close);
    if (const platform::Window parent = platform::window_parent(handle()); parent != platform::no_window)
        platform::set_foreground_window(parent);
    platform::show_window(handle(), platform::sw::hide);
}

void FormImpl::on_capture_changed(platform::LParam lparam)
{
    os::log() << u"WM_CAPTURECHANGED\n";
    for (int button = 0; button < 3; ++button) {
        if (!m_pressed[std::size_t(button)])
            continue;
        m_pressed[std::size_t(button)] = false;
        m_form->on_pen_up(button, m_last_pen_point, m_press_argument[std::size_t(button)]);
    }
    const auto holder = platform::Window(std::uint32_t(lparam));
    if (m_drop_down && holder != platform::no_window && holder != handle()) {
        os::log() << u"ComboForm WM_CLOSE sent\n";
        platform::send_message(handle(), platform::msg::close);
    }
}

// Pen

void FormImpl::on_left_button_down(Point point)
{
    if (m_form->get_gestures_at(point)
        && platform::recognize_tap_and_hold(handle(), point) == platform::gesture_context_menu) {
        pen_down(point, Container::button_context, 0);
        pen_up(point, Container::button_context);
        return;
    }
    pen_down(point, Container::button_pen, 0);
}

void FormImpl::pen_down(Point point, int button, std::int32_t argument)
{
    const bool none_pressed = !m_pressed[0] && !m_pressed[1] && !m_pressed[2];
    if (none_pressed && !m_drop_down)
        platform::set_capture(handle());
    m_last_pen_point = { -1, -1 };
    m_pressed[std::size_t(button)] = true;
    m_press_argument[std::size_t(button)] = argument;
    if (m_drop_down) {
        const platform::Point screen = platform::client_to_screen(handle(), point);
        if (!platform::window_rect(handle()).contains(screen)) {
            m_form->close();
            return;
        }
    }
    m_form->on_pen_down(button, point, argument);
}

void FormImpl::pen_up(Point point, int button)
{
    const std::size_t b = std::size_t(button);
    if (!m_drop_down) {
        m_last_pen_point = point;
        bool only = m_pressed[b];
        for (std::size_t other = 0; other < 3; ++other)
            if (other != b && m_pressed[other])
                only = false;
        if (only)
            platform::release_capture();
    }
    if (m_pressed[b]) {
        m_pressed[b] = false;
        m_form->on_pen_up(button, point, m_press_argument[b]);
    }
}

void FormImpl::on_wheel(platform::WParam wparam, platform::LParam lparam)
{
    // Parts of a notch add up until they make one.
    m_wheel_rest += platform::wheel_turn_of(wparam);
    const std::int32_t steps = m_wheel_rest / platform::wheel_delta;
    m_wheel_rest -= steps * platform::wheel_delta;
    if (steps == 0)
        return;
    m_form->on_wheel(platform::screen_to_client(handle(), platform::point_of(lparam)), steps);
}

// Painting

void FormImpl::paint_window()
{
    if (m_direct_paint)
        paint_direct();
    else
        paint_buffered();
}

void FormImpl::paint_buffered()
{
    platform::PaintScope scope(handle());
    const platform::Rect client = platform::client_rect(handle());
    if (!m_back_buffer) {
        m_back_buffer = platform::Bitmap::create(client.width(), client.height());
        if (!m_back_buffer)
            return;
        m_back_buffer->fill(platform::pixel_of(back_buffer_fill));
        m_dirty_position = {};
        m_dirty_size = m_form->get_size();
    }
    platform::DeviceContext memory = platform::DeviceContext::memory();
    memory.select_bitmap(m_back_buffer.get());
    if (m_dirty_size.width > 0 && m_dirty_size.height > 0) {
        CanvasImpl impl(memory, m_dirty_position, m_dirty_size);
        Canvas canvas(impl);
        m_form->background().draw(canvas, {}, m_form->get_size());
        m_form->paint(canvas, m_dirty_position, m_dirty_size);
        m_dirty_size = {};
    }
    scope.dc().bit_blt(client, memory, {}, platform::rop::source_copy);
    memory.select_bitmap(nullptr);
}

void FormImpl::paint_direct()
{
    platform::PaintScope scope(handle());
    const platform::Rect area
        = platform::Rect::from(m_dirty_position, m_dirty_size).unite(platform::client_rect(handle()));
    const Point position { area.left, area.top };
    const Size size { area.width(), area.height() };
    CanvasImpl impl(scope.dc(), position, size);
    Canvas canvas(impl);
    canvas.fill_rect(position, size, { 255, 0, 255, 255 });
    m_form->background().draw(canvas, {}, m_form->get_size());
    m_form->paint(canvas, position, { area.right, area.bottom });
    m_dirty_size = {};
}

}
