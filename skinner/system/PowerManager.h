#pragma once

#include <memory>

namespace skinner {

class Form;
class PowerManagerImpl;

// A form's power manager: switches the display off after an idle interval
// (the edition without a touch screen controls no display).
class PowerManager {
public:
    explicit PowerManager(Form& form);
    ~PowerManager();
    PowerManager(const PowerManager&) = delete;
    PowerManager& operator=(const PowerManager&) = delete;

    // Seconds without a tap or key before the display goes off; 0 = never.
    void set_interval(double seconds);
    void reset_idle_time();
    bool is_display_on();

private:
    std::unique_ptr<PowerManagerImpl> m_impl;
};

}
