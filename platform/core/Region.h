#pragma once

#include "platform/core/Geometry.h"

#include <vector>

namespace platform {

// An area made of rectangles that never overlap; used for invalid areas and
// for the visible part of a window. Kept simple: windows are few.
class Region {
public:
    Region() = default;
    explicit Region(const Rect& rect) { add(rect); }

    bool empty() const { return m_rects.empty(); }
    const std::vector<Rect>& rects() const { return m_rects; }
    Rect bounds() const;
    bool contains(Point) const;
    // Pixels covered.
    std::int64_t area() const;

    void add(const Rect&);
    void add(const Region&);
    void subtract(const Rect&);
    void subtract(const Region&);
    void intersect(const Rect&);
    void intersect(const Region&);
    void offset(Point by);
    void clear() { m_rects.clear(); }

    // Same pixels, whatever the split into rectangles.
    bool operator==(const Region&) const;

private:
    std::vector<Rect> m_rects;
};

}
