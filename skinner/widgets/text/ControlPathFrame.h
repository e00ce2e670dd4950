#pragma once

#include "skinner/widgets/text/ControlFrame.h"

namespace skinner {

// A text frame that shows a folder path. The device root reads as its
// translated name; a path too wide for the frame loses its start, so the
// folder's own name stays visible. The text itself stays the path.
class ControlPathFrame : public ControlFrame {
public:
    ControlPathFrame(Container& container, std::u16string_view name, ControlMode mode = ControlMode::named);
    ~ControlPathFrame() override;

    void paint(Canvas& canvas, Point area_position, Size area_size) override;
    void update_text_layout(std::u16string_view path) override;
};

}
