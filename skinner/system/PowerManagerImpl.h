#pragma once

#include "liba/Stopwatch.h"

#include <cstdint>

namespace skinner {

class Form;

// Switches the display off after an idle interval while the program is in
// front. This base controls no display: the display always counts as on.
class PowerManagerImpl {
public:
    explicit PowerManagerImpl(Form& form);
    virtual ~PowerManagerImpl() = default;
    PowerManagerImpl(const PowerManagerImpl&) = delete;
    PowerManagerImpl& operator=(const PowerManagerImpl&) = delete;

    virtual void set_display_on(bool /*on*/) { }
    virtual bool is_display_on() { return true; }

    // Seconds without a tap or key before the display goes off; 0 = never.
    virtual void set_interval(double seconds) { m_interval = seconds; }
    double interval() const { return m_interval; }
    void reset_idle_time() { m_idle.restart(); }

protected:
    Form& m_form;
    std::uint32_t m_timer_id = 0;
    double m_interval = 0;
    liba::Stopwatch m_idle;
};

}
