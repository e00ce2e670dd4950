#pragma once

#include "skinner/core/Control.h"

namespace skinner {

// One value from 0.0 to 1.0 shown with skin pictures: progress bars, level
// meters and sliders. A press or a drag on it reports the value the user
// wants (on_value_changed); the value only changes when the owner sets it
// (set_value), which reports on_value_set.
class ControlProgressBase : public Control {
public:
    ControlProgressBase(
        Container& container, std::u16string_view name, ControlMode mode = ControlMode::named);
    ~ControlProgressBase() override;

    // Clamped to 0.0 .. 1.0 (a value that is no number counts as 0.0); a
    // change is reported and repainted, an equal value does nothing.
    void set_value(double fraction);
    // The value's place between min and max; 0.0 for an empty range.
    void set_value_in_range(double min, double max, double value);

    double value() const { return m_value; }

    bool dragging() const { return m_dragging; }

    const Picture& background() const { return m_background; }

    const Picture& track() const { return m_track; }

    const Picture& track_disabled() const { return m_track_disabled; }

    void on_pen_move(Point point) override;
    // The second press of a double tap does nothing.
    void on_pen_down(Point point, std::int32_t argument) override;
    void on_pen_up(Point point, std::int32_t argument) override;
    void load() override;

    virtual void notify_value_changed(double value);
    virtual void notify_value_set();
    // The fraction that a pen point stands for.
    virtual double value_from_point(Point point) const = 0;

private:
    void load_pictures();

    Picture m_background;
    Picture m_track;
    Picture m_track_disabled;
    double m_value = 0.0;
    bool m_dragging = false;
};

}
