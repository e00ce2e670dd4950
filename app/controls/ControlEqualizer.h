#pragma once

#include "skinner/widgets/text/ControlFrame.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The equalizer chart: up to three bands as handles over a frequency/gain
// grid, with a smooth response curve through them. Dragging a band's centre
// handle moves its frequency and gain, a side handle its width; the end of a
// drag is reported to the owner as on_click.
//
// The x axis is logarithmic from "FrequencyBase" on: "FirstCellWidth" pixels
// from 0 Hz to the base, then "CellWidth" pixels per octave. A skin without a
// positive base or cell width gives the chart no scale: it shows the flat mid
// line and no band, and nothing can be dragged, so no value is ever derived
// from it.
class ControlEqualizer : public skinner::ControlFrame {
public:
    // The gain (dB) at the top edge; its negation is at the bottom edge.
    static constexpr double gain_range = 20.0;

    ControlEqualizer(skinner::Container& container, std::u16string_view id,
        skinner::ControlMode mode = skinner::ControlMode::named);
    ~ControlEqualizer() override;

    // Replaces a band of the same name; the width is the full width (0..2 drawable).
    void add_band(std::u16string_view name, double frequency, double gain, double width);
    // False when there is no such band.
    bool remove_band(std::u16string_view name);
    // 0 when there is no such band.
    double get_band_frequency(std::u16string_view name) const;
    double get_band_gain(std::u16string_view name) const;
    double get_band_width(std::u16string_view name) const;
    bool has_band(std::u16string_view name) const;

    // The band being dragged or dragged last, -1 none.
    std::int32_t selected_band() const { return m_selected; }

    // Whether the skin gives the chart a frequency scale.
    bool has_scale() const;
    // Chart geometry, in pixels from the control's left or top edge.
    std::int32_t frequency_to_x(double frequency) const;
    double x_to_frequency(std::int32_t x) const;
    std::int32_t gain_to_y(double gain) const;
    double y_to_gain(std::int32_t y) const;

    void paint(skinner::Canvas& canvas, skinner::Point area_position, skinner::Size area_size) override;
    void on_pen_down(skinner::Point point, std::int32_t argument) override;
    void on_pen_move(skinner::Point point) override;
    void on_pen_up(skinner::Point point, std::int32_t argument) override;
    void load() override;

private:
    enum class DragMode : std::int32_t { none = 0, left = 1, right = 2, centre = 3 };

    struct Band {
        std::u16string name;
        double frequency = 0;
        double gain = 0;
        double half_width = 0;
        skinner::Picture icon;
        skinner::Picture handle;
        skinner::Color color {};
        DragMode drag = DragMode::none;
        skinner::Point drag_point {};
        std::int32_t min_span = 0;
        std::int32_t max_span = 0;
    };

    Band make_band(std::u16string_view name, double frequency, double gain, double half_width) const;
    void load_chart();
    const Band* find(std::u16string_view name) const;
    std::int32_t span(const Band& band) const;
    // The centre handle's point in form coordinates.
    skinner::Point centre(const Band& band) const;
    DragMode hit(const Band& band, skinner::Point point) const;
    void paint_band(skinner::Canvas& canvas, const Band& band) const;

    std::int32_t m_selected = -1;
    std::vector<Band> m_bands;
    skinner::Color m_line {};
    skinner::Color m_grid {};
    std::int32_t m_cell_width = 10;
    std::int32_t m_first_cell_width = 5;
    std::int32_t m_frequency_base = 0;
};
