#pragma once

#include "skinner/widgets/progress/ControlProgress.h"

// A progress bar that shows two fractions at once: the base's value over
// "Progress" and a second one over "Progress2" (a level and its threshold).
class ControlProgress2Scale : public skinner::ControlProgress {
public:
    ControlProgress2Scale(skinner::Container& container, std::u16string_view id,
        skinner::ControlMode mode = skinner::ControlMode::named);
    ~ControlProgress2Scale() override;

    // 0.0 .. 1.0; no repaint: the owner sets the value next, which repaints.
    void set_second_value(double value);

    double second_value() const { return m_second; }

    void paint(skinner::Canvas& canvas, skinner::Point area_position, skinner::Size area_size) override;
    void load() override;

private:
    skinner::Picture m_progress2;
    double m_second = 0.0;
};
