#include "platform/core/Region.h"

namespace platform {

namespace {

// Appends the parts of a that lie outside b (up to four rectangles).
void append_difference(const Rect& a, const Rect& b, std::vector<Rect>& out)
{
    Rect cut = a.intersect(b);
    if (cut.empty()) {
        out.push_back(a);
        return;
    }
    if (a.top < cut.top)
        out.push_back({ a.left, a.top, a.right, cut.top });
    if (cut.bottom < a.bottom)
        out.push_back({ a.left, cut.bottom, a.right, a.bottom });
    if (a.left < cut.left)
        out.push_back({ a.left, cut.top, cut.left, cut.bottom });
    if (cut.right < a.right)
        out.push_back({ cut.right, cut.top, a.right, cut.bottom });
}

}

Rect Region::bounds() const
{
    Rect r;
    for (auto& part : m_rects)
        r = r.unite(part);
    return r;
}

bool Region::contains(Point p) const
{
    for (auto& part : m_rects) {
        if (part.contains(p))
            return true;
    }
    return false;
}

std::int64_t Region::area() const
{
    std::int64_t total = 0;
    for (auto& part : m_rects)
        total += std::int64_t(part.width()) * part.height();
    return total;
}

void Region::add(const Rect& rect)
{
    if (rect.empty())
        return;
    std::vector<Rect> pieces { rect };
    for (auto& existing : m_rects) {
        std::vector<Rect> rest;
        for (auto& piece : pieces)
            append_difference(piece, existing, rest);
        pieces.swap(rest);
        if (pieces.empty())
            return;
    }
    m_rects.insert(m_rects.end(), pieces.begin(), pieces.end());
}

void Region::add(const Region& other)
{
    for (auto& part : other.m_rects)
        add(part);
}

void Region::subtract(const Rect& rect)
{
    if (rect.empty())
        return;
    std::vector<Rect> rest;
    for (auto& part : m_rects)
        append_difference(part, rect, rest);
    m_rects.swap(rest);
}

void Region::subtract(const Region& other)
{
    for (auto& part : other.m_rects)
        subtract(part);
}

void Region::intersect(const Rect& rect)
{
    std::vector<Rect> kept;
    for (auto& part : m_rects) {
        Rect cut = part.intersect(rect);
        if (!cut.empty())
            kept.push_back(cut);
    }
    m_rects.swap(kept);
}

void Region::intersect(const Region& other)
{
    std::vector<Rect> kept;
    for (auto& part : m_rects) {
        for (auto& o : other.m_rects) {
            Rect cut = part.intersect(o);
            if (!cut.empty())
                kept.push_back(cut);
        }
    }
    m_rects.swap(kept);
}

void Region::offset(Point by)
{
    for (auto& part : m_rects)
        part = part.offset(by);
}

bool Region::operator==(const Region& other) const
{
    Region a = *this;
    a.subtract(other);
    Region b = other;
    b.subtract(*this);
    return a.empty() && b.empty();
}

}
