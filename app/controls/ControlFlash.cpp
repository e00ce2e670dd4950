#include "app/controls/ControlFlash.h"

#include "skinner/graphics/Canvas.h"

#include <algorithm>
#include <cmath>

ControlFlash::ControlFlash(skinner::Container& container, std::u16string_view id, skinner::ControlMode mode)
    : Control(container, id, mode)
{
    load_pictures();
}

ControlFlash::~ControlFlash()
{
    if (timer_id() != 0)
        kill_timer();
}

void ControlFlash::load_pictures()
{
    m_off = get_property_picture(u"Off", {});
    m_on = get_property_picture(u"On", {});
}

void ControlFlash::load()
{
    Control::load();
    load_pictures();
}

void ControlFlash::set_flashing(bool flashing)
{
    if (flashing == m_flashing)
        return;
    m_flashing = flashing;
    if (!flashing) {
        // A lamp that does not blink needs no tick.
        if (timer_id() != 0)
            kill_timer();
        invalidate();
        return;
    }
    // The first tick comes when the stopwatch turns the lamp over, the next ones a period apart.
    const double remaining = m_period - std::fmod(m_stopwatch.elapsed(), m_period);
    m_aligning = true;
    set_timer(std::max(remaining, 0.001));
}

bool ControlFlash::shows_on() const
{
    if (!m_flashing)
        return false;
    const auto n = static_cast<std::int64_t>(std::trunc(m_stopwatch.elapsed() / m_period));
    return n % 2 == 1;
}

void ControlFlash::on_timer(std::uint32_t)
{
    invalidate();
    if (m_aligning) {
        m_aligning = false;
        set_timer(m_period);
    }
}

void ControlFlash::paint(skinner::Canvas& canvas, skinner::Point area_position, skinner::Size area_size)
{
    (shows_on() ? m_on : m_off).draw(canvas, position(), size());
    Control::paint(canvas, area_position, area_size);
}
