#pragma once

#include <algorithm>
#include <cstdint>

// Points, sizes and rectangles in pixels. A rectangle's right and bottom are
// exclusive; one whose right is not beyond its left (or bottom not below its
// top) is empty.
namespace platform {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const Point&) const = default;
    Point operator+(Point other) const { return { x + other.x, y + other.y }; }
    Point operator-(Point other) const { return { x - other.x, y - other.y }; }
};

struct Size {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    static constexpr std::int64_t limit = 1 << 30;

    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    // Sides beyond a billion pixels are cut there, so no sum overflows.
    static std::int32_t clamp(std::int64_t v) { return std::int32_t(std::clamp<std::int64_t>(v, -limit, limit)); }

    static Rect from(Point position, Size size)
    {
        return { clamp(position.x), clamp(position.y), clamp(std::int64_t(position.x) + size.width),
            clamp(std::int64_t(position.y) + size.height) };
    }

    bool operator==(const Rect&) const = default;
    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    Point top_left() const { return { left, top }; }
    Size size() const { return { width(), height() }; }
    bool empty() const { return right <= left || bottom <= top; }
    bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    Rect offset(Point by) const
    {
        return { clamp(std::int64_t(left) + by.x), clamp(std::int64_t(top) + by.y), clamp(std::int64_t(right) + by.x),
            clamp(std::int64_t(bottom) + by.y) };
    }

    // Empty rectangles come out as (0, 0, 0, 0).
    Rect intersect(const Rect& other) const
    {
        Rect r { std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
            std::min(bottom, other.bottom) };
        return r.empty() ? Rect {} : r;
    }

    // The bounding box; an empty side does not count.
    Rect unite(const Rect& other) const
    {
        if (empty())
            return other.empty() ? Rect {} : other;
        if (other.empty())
            return *this;
        return { std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
            std::max(bottom, other.bottom) };
    }
};

}
