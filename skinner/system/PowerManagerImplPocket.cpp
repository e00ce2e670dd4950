#include "skinner/system/PowerManagerImplPocket.h"

#include "os/Log.h"
#include "platform/ui/DeviceContext.h"
#include "platform/ui/DisplayEscape.h"
#include "platform/ui/WindowManager.h"
#include "skinner/core/Form.h"
#include "skinner/core/FormImpl.h"

namespace skinner {

PowerManagerImplPocket::PowerManagerImplPocket(Form& form)
    : PowerManagerImpl(form)
{
    m_idle.restart();
    subclass(form.window().handle());
}

PowerManagerImplPocket::~PowerManagerImplPocket()
{
    if (m_timer_id != 0)
        m_form.kill_timer(m_timer_id);
    unsubclass();
}

void PowerManagerImplPocket::set_interval(double seconds)
{
    PowerManagerImpl::set_interval(seconds);
    // Without an interval a tick would have nothing to do.
    if (seconds != 0 && m_timer_id == 0) {
        m_timer_id = m_form.set_timer(1.0);
    } else if (seconds == 0 && m_timer_id != 0) {
        m_form.kill_timer(m_timer_id);
        m_timer_id = 0;
    }
}

void PowerManagerImplPocket::set_display_on(bool on)
{
    auto dc = platform::DeviceContext::for_screen();
    if (!platform::escape_supported(dc, platform::escape::set_power_management))
        return;
    platform::set_video_power(dc, { 12, 1, on ? platform::video_power::on : platform::video_power::off });
    if (on)
        m_idle.restart();
}

bool PowerManagerImplPocket::is_display_on()
{
    auto dc = platform::DeviceContext::for_screen();
    if (!platform::escape_supported(dc, platform::escape::set_power_management))
        return true;
    auto state = platform::get_video_power(dc);
    return state && state->power_state == platform::video_power::on;
}

void PowerManagerImplPocket::on_tick()
{
    if (platform::foreground_window() != window() || !is_display_on()) {
        m_idle.restart();
        return;
    }
    if (m_interval == 0)
        return;
    if (m_idle.elapsed() > m_interval) {
        os::log() << u"PowerManagerImpl time.elapsed() > interval\n";
        set_display_on(false);
    }
}

platform::LResult PowerManagerImplPocket::window_proc(
    platform::MessageId message, platform::WParam wparam, platform::LParam, MessageContext&)
{
    if (message == platform::msg::left_button_down || message == platform::msg::key_down) {
        os::log() << u"PowerManagerImpl interesting message\n";
        set_display_on(true);
        m_idle.restart();
    } else if (message == platform::msg::timer && m_timer_id != 0 && wparam == m_timer_id) {
        on_tick();
    }
    return 0;
}

}
