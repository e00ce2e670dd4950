#include "skinner/widgets/edit/ControlEditNativeImpl.h"

#include "os/Log.h"
#include "platform/core/MessageQueue.h"
#include "platform/core/Window.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/WindowManager.h"
#include "skinner/skin/Edition.h"
#include "skinner/widgets/edit/ControlEdit.h"
#include "skinner/core/KeyCode.h"
#include "skinner/core/Form.h"
#include "skinner/core/FormImpl.h"

#include <utility>

namespace skinner {

namespace {

// No z-order change, no activation, no owner z-order change.
constexpr std::uint32_t place_flags = 532;

}

ControlEditNativeImpl::ControlEditNativeImpl(ControlEdit& edit)
    : ControlEditImpl(false)
    , m_edit(edit)
{
    const platform::Window form = edit.get_form().window().handle();
    m_parent_monitor.subclass(form);
    platform::WindowParams params;
    params.class_name = u"edit";
    params.style = platform::ws::child | platform::ws::border | platform::ws::tab_stop | platform::es::auto_hscroll;
    params.parent = form;
    params.x = 0;
    params.y = 0;
    params.width = 100;
    params.height = 30;
    m_window = platform::create_window(params);
    subclass(m_window);
    os::log() << u"ControlEditNativeImpl::ControlEditNativeImpl hwnd=" << unsigned(m_window) << u"\n";
}

ControlEditNativeImpl::~ControlEditNativeImpl()
{
    unsubclass();
    m_parent_monitor.unsubclass();
    if (m_window != platform::no_window)
        platform::destroy_window(std::exchange(m_window, platform::no_window));
}

void ControlEditNativeImpl::set_input_mode(std::u16string_view mode)
{
    if constexpr (!is_smartphone)
        return;
    if (mode == u"TextDefault")
        platform::send_message(m_window, platform::em::set_input_mode, 0, platform::im::text);
    else if (mode == u"Numbers")
        platform::send_message(m_window, platform::em::set_input_mode, 0, platform::im::numbers);
}

void ControlEditNativeImpl::set_text(std::u16string_view text)
{
    // The window's own text coming back keeps its caret where the user types.
    if (m_taking_text || platform::window_text(m_window) == text)
        return;
    platform::set_edit_text(m_window, text);
}

bool ControlEditNativeImpl::on_form_activate()
{
    platform::set_focus(m_window);
    return true;
}

void ControlEditNativeImpl::set_selection(std::int32_t start, std::int32_t end)
{
    if (!m_taking_text)
        platform::send_message(m_window, platform::em::set_sel, platform::WParam(start), platform::LParam(end));
}

void ControlEditNativeImpl::set_readonly(bool read_only)
{
    platform::send_message(m_window, platform::em::set_read_only, read_only ? 1 : 0);
}

void ControlEditNativeImpl::set_visible(bool visible)
{
    platform::show_window(m_window, visible ? platform::sw::show : platform::sw::hide);
}

void ControlEditNativeImpl::on_focus_gained()
{
    platform::set_focus(m_window);
    platform::send_message(
        m_window, platform::em::set_sel, 0, platform::LParam(m_edit.get_text().size()));
}

void ControlEditNativeImpl::set_rect(Point position, Size size)
{
    platform::set_window_pos(
        m_window, platform::no_window, platform::Rect::from(position, size), place_flags);
}

platform::LResult ControlEditNativeImpl::window_proc(
    platform::MessageId message, platform::WParam wparam, platform::LParam, MessageContext&)
{
    namespace msg = platform::msg;
    switch (message) {
    case msg::key_down:
        m_edit.get_form().on_keydown(map_key(std::uint32_t(wparam)));
        break;
    case msg::key_up:
        m_edit.get_form().on_keyup(map_key(std::uint32_t(wparam)));
        break;
    case msg::set_focus:
    case msg::kill_focus:
        if constexpr (is_smartphone)
            trace_focus(message == msg::set_focus, platform::Window(std::uint32_t(wparam)));
        break;
    default:
        break;
    }
    return 0;
}

void ControlEditNativeImpl::trace_focus(bool gained, platform::Window other) const
{
    const platform::Window form = m_edit.get_form().window().handle();
    const platform::Window parent = platform::window_parent(m_window);
    const char16_t* what = gained ? u"ControlEditNativeImpl::WM_SETFOCUS" : u"ControlEditNativeImpl::WM_KILLFOCUS";
    os::log() << what << u" hwnd=" << unsigned(m_window) << (gained ? u" old_hwnd=" : u" new_hwnd=")
              << unsigned(other) << u" par=" << unsigned(parent) << u"\n";
    const bool ours = other == form || other == parent;
    os::log() << what << (gained ? (ours ? u" from us" : u" from another app") : (ours ? u" to us" : u" to another app"))
              << u"\n";
}

void ControlEditNativeImpl::on_en_change()
{
    const std::u16string text = platform::window_text(m_window);
    if (text == m_edit.get_text())
        return;
    m_taking_text = true;
    m_edit.set_text(text);
    m_taking_text = false;
    os::log() << u"ControlEditNativeImpl::on_en_change text=" << text << u"\n";
}

platform::LResult ControlEditNativeImpl::ControlEditParentMonitor::window_proc(
    platform::MessageId message, platform::WParam wparam, platform::LParam lparam, MessageContext&)
{
    if (message == platform::msg::command && (wparam >> 16) == platform::en::change
        && platform::Window(std::uint32_t(lparam)) == m_owner.m_window)
        m_owner.on_en_change();
    return 0;
}

}
