#pragma once

#include "skinner/core/Control.h"

#include <string>

// The playback speed as "x" and the speed with one decimal ("x1.5"), in the
// "Highlighted" colour whenever the speed is not normal.
class ControlSpeed : public skinner::Control {
public:
    ControlSpeed(skinner::Container& container, std::u16string_view id,
        skinner::ControlMode mode = skinner::ControlMode::named);
    ~ControlSpeed() override;

    // An equal speed changes nothing.
    void set_speed(double speed);

    double speed() const { return m_speed; }

    const std::u16string& text() const { return m_text; }

    skinner::Color color() const { return m_color; }

    // The shown text of a speed, rounded to the nearest tenth.
    static std::u16string speed_text(double speed);

    void paint(skinner::Canvas& canvas, skinner::Point area_position, skinner::Size area_size) override;
    void load() override;

private:
    void load_looks();
    void choose_color();

    double m_speed = 0.0;
    std::u16string m_text;
    skinner::Color m_color {};
    skinner::Color m_normal {};
    skinner::Color m_highlighted {};
    skinner::Font m_font;
};
