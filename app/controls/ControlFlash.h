#pragma once

#include "liba/Stopwatch.h"
#include "skinner/core/Control.h"

// An indicator that blinks between its "Off" and "On" pictures every half
// second while its activity runs, each by its own stopwatch; it holds a timer
// only while it blinks.
class ControlFlash : public skinner::Control {
public:
    ControlFlash(skinner::Container& container, std::u16string_view id,
        skinner::ControlMode mode = skinner::ControlMode::named);
    ~ControlFlash() override;

    void set_flashing(bool flashing);

    bool is_flashing() const { return m_flashing; }

    // Whether a paint now shows the "On" picture.
    bool shows_on() const;

    void paint(skinner::Canvas& canvas, skinner::Point area_position, skinner::Size area_size) override;
    void on_timer(std::uint32_t timer_id) override;
    void load() override;

private:
    void load_pictures();

    skinner::Picture m_on;
    skinner::Picture m_off;
    bool m_flashing = false;
    bool m_aligning = false; // the first tick, at the stopwatch's next turn
    double m_period = 0.5;
    liba::Stopwatch m_stopwatch;
};
