#pragma once

#include "skinner/widgets/progress/ControlProgressBase.h"

#include <utility>

namespace skinner {

// The progress bar and slider: a filled part growing in one of four
// directions and a thumb at its moving end. Orientation 0 fills downwards,
// 1 leftwards, 2 upwards, 3 (the default) rightwards; any other shows
// neither and maps every press to 0.0.
class ControlProgress : public ControlProgressBase {
public:
    ControlProgress(Container& container, std::u16string_view name, ControlMode mode = ControlMode::named);
    ~ControlProgress() override;

    std::int32_t orientation() const { return m_orientation; }

    // The thumb's extent along the bar, in pixels.
    std::int32_t track_size() const { return m_track_size; }

    const Picture& progress() const { return m_progress; }

    // The filled part at the fraction, as (origin, size).
    std::pair<Point, Size> get_part_rects(double fraction, std::int32_t orientation) const;
    // The thumb at the fraction, at the filled part's moving end.
    std::pair<Point, Size> get_draw_rects(double fraction, std::int32_t orientation) const;
    void paint_bar(Canvas& canvas) const;
    void paint_track(Canvas& canvas) const;

    void paint(Canvas& canvas, Point area_position, Size area_size) override;
    void load() override;
    // The thumb's centre follows the pen.
    double value_from_point(Point point) const override;

private:
    void load_progress();

    Picture m_progress;
    std::int32_t m_orientation = 3;
    std::int32_t m_track_size = 0;
};

}
