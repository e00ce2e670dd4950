#pragma once

#include "liba/Nocopy.h"
#include "platform/ui/DeviceContext.h"
#include "skinner/graphics/Point.h"
#include "skinner/graphics/Size.h"

#include <vector>

namespace skinner {

// One device context during one paint, and its stack of clip rectangles:
// the first is the canvas's own rectangle, the last the clip in force. The
// context is not owned and must outlive the canvas. GUI thread only.
class CanvasImpl : private liba::Nocopy {
public:
    // Applies the canvas's own rectangle (position, position + size) at once.
    CanvasImpl(platform::DeviceContext& dc, Point position, Size size);
    virtual ~CanvasImpl();

    platform::DeviceContext& dc() { return m_dc; }

    // Pushes the clip in force cut to the rectangle, and applies it; a
    // rectangle wholly outside gives an empty clip (nothing is drawn).
    void push_clip(Point position, Size size);
    // Back to the clip below; the canvas's own rectangle is never removed.
    void pop_clip();

    const platform::Rect& clip() const { return m_clips.back(); }

    std::size_t clip_depth() const { return m_clips.size(); }

private:
    void apply_clip();

    platform::DeviceContext& m_dc;
    std::vector<platform::Rect> m_clips;
};

}
