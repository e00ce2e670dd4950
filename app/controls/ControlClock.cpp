#include "app/controls/ControlClock.h"

#include "model/FileHelpers.h"

#include <algorithm>
#include <cmath>

namespace {

// Whole seconds; what is no number, or below zero, is 0.
std::int64_t whole_seconds(double seconds)
{
    if (std::isnan(seconds))
        return 0;
    return static_cast<std::int64_t>(std::clamp(seconds, 0.0, 1e15));
}

// Only the last two digits of a longer number stand.
std::u16string two_digits(std::int64_t value)
{
    return two_digit_text(static_cast<int>(value % 100));
}

}

ControlClock::ControlClock(skinner::Container& container, std::u16string_view id, skinner::ControlMode mode)
    : ControlPanel(container, id, mode)
    , m_lcd(*get_container(), u"lcdClock")
    , m_mode(*get_container(), u"chkMode")
    , m_hours(*get_container(), u"chkHours")
    , m_minutes(*get_container(), u"chkMinutes")
{
    m_mode.set_enabled(false);
    m_hours.set_enabled(false);
    m_minutes.set_enabled(false);
}

ControlClock::~ControlClock() = default;

void ControlClock::set_times(double elapsed, double remaining)
{
    m_elapsed = elapsed;
    m_remaining = remaining;
    show();
}

std::int32_t ControlClock::get_mode() const
{
    return m_mode.is_checked() ? 0 : 1;
}

void ControlClock::switch_mode(bool shown_remaining)
{
    if (m_mode.is_checked() != shown_remaining)
        return;
    m_mode.set_checked(!shown_remaining);
    show();
}

void ControlClock::show()
{
    const std::int64_t t = whole_seconds(m_mode.is_checked() ? m_remaining : m_elapsed);
    const std::int64_t h = t / 3600;
    const std::int64_t m = (t - h * 3600) / 60;
    const std::int64_t s = t - (t / 60) * 60;
    m_hours.set_checked(h != 0);
    m_minutes.set_checked(h == 0 && (s != 0 || m != 0));
    m_lcd.set_text(h != 0 ? two_digits(h) + u":" + two_digits(m) : two_digits(t / 60) + u":" + two_digits(s));
}
