#pragma once

#include "skinner/core/ControlSubclass.h"
#include "skinner/system/PowerManagerImpl.h"

namespace skinner {

// Watches the form's window: every tap or key switches the display on and
// restarts the idle time; a one-second timer, running only while there is an
// interval, switches the display off once the idle time passed the interval
// while the window is in front. The
// display is driven through the display driver's power escapes; a driver
// without them leaves it on. GUI thread only.
class PowerManagerImplPocket final : public PowerManagerImpl, private ControlSubclass {
public:
    explicit PowerManagerImplPocket(Form& form);
    ~PowerManagerImplPocket() override;

    void set_display_on(bool on) override;
    bool is_display_on() override;
    void set_interval(double seconds) override;

private:
    platform::LResult window_proc(platform::MessageId message, platform::WParam wparam, platform::LParam lparam,
        MessageContext& context) override;
    void on_tick();
};

}
