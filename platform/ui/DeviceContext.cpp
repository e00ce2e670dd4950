#include "platform/ui/DeviceContext.h"

#include "platform/ui/detail/WindowTree.h"
#include "platform/ui/Font.h"
#include "platform/ui/Screen.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace platform {

using namespace detail;

namespace {

// Coverage a (0..255) of colour s over d, channel by channel.
Pixel blend(Pixel d, Pixel s, std::uint32_t a)
{
    Pixel out = 0;
    for (int shift : { 0, 8, 16 }) {
        std::uint32_t dc = d >> shift & 0xFF, sc = s >> shift & 0xFF;
        out |= ((dc * (255 - a) + sc * a + 127) / 255) << shift;
    }
    return out;
}

}

bool apply_rop(std::uint32_t rop, Pixel& d, Pixel s)
{
    switch (rop) {
    case rop::source_copy:
        d = s;
        return true;
    case rop::source_and:
        d &= s;
        return true;
    case rop::source_paint:
        d |= s;
        return true;
    case rop::source_invert:
        d ^= s;
        return true;
    default:
        return false;
    }
}

DeviceContext::DeviceContext(Kind kind, Bitmap* target, Point origin, Region area)
    : m_kind(kind)
    , m_target(target)
    , m_origin(origin)
    , m_area(std::move(area))
{
}

DeviceContext DeviceContext::for_window(Window w)
{
    std::lock_guard lock(state().mutex);
    auto& s = state();
    return DeviceContext(Kind::window, &framebuffer(), client_origin(s, w), visible_region(s, w, true));
}

DeviceContext DeviceContext::for_window_area(Window w, const Region& client_area)
{
    std::lock_guard lock(state().mutex);
    auto& s = state();
    Point origin = client_origin(s, w);
    Region area = client_area;
    area.offset(origin);
    area.intersect(visible_region(s, w, true));
    return DeviceContext(Kind::window, &framebuffer(), origin, std::move(area));
}

DeviceContext DeviceContext::for_screen()
{
    Bitmap& fb = framebuffer();
    return DeviceContext(Kind::screen, &fb, {}, Region(fb.bounds()));
}

DeviceContext DeviceContext::memory()
{
    return DeviceContext(Kind::memory, nullptr, {}, {});
}

DeviceContext::DeviceContext(DeviceContext&& other) noexcept
    : m_kind(other.m_kind)
    , m_target(std::exchange(other.m_target, nullptr))
    , m_origin(other.m_origin)
    , m_area(std::move(other.m_area))
    , m_state(std::move(other.m_state))
    , m_saved(std::move(other.m_saved))
{
    if (m_kind == Kind::memory && m_target)
        m_target->m_selected_into = this;
}

DeviceContext& DeviceContext::operator=(DeviceContext&& other) noexcept
{
    if (this == &other)
        return *this;
    release();
    m_kind = other.m_kind;
    m_target = std::exchange(other.m_target, nullptr);
    m_origin = other.m_origin;
    m_area = std::move(other.m_area);
    m_state = std::move(other.m_state);
    m_saved = std::move(other.m_saved);
    m_drawable_valid = false;
    if (m_kind == Kind::memory && m_target)
        m_target->m_selected_into = this;
    return *this;
}

DeviceContext::~DeviceContext()
{
    release();
}

void DeviceContext::release()
{
    if (m_kind == Kind::memory && m_target)
        m_target->m_selected_into = nullptr;
    m_target = nullptr;
}

void DeviceContext::bitmap_destroyed(Bitmap& bitmap)
{
    if (m_target == &bitmap) {
        m_target = nullptr;
        m_area.clear();
        changed();
    }
}

std::optional<Bitmap*> DeviceContext::select_bitmap(Bitmap* bitmap)
{
    if (m_kind != Kind::memory || (bitmap && bitmap->m_selected_into && bitmap->m_selected_into != this))
        return std::nullopt;
    Bitmap* previous = m_target;
    if (previous)
        previous->m_selected_into = nullptr;
    m_target = bitmap;
    m_area = bitmap ? Region(bitmap->bounds()) : Region {};
    if (bitmap)
        bitmap->m_selected_into = this;
    changed();
    return previous;
}

Bitmap* DeviceContext::selected_bitmap() const
{
    return m_kind == Kind::memory ? m_target : nullptr;
}

const Font* DeviceContext::select_font(const Font* font)
{
    return std::exchange(m_state.font, font);
}

ColorRef DeviceContext::set_text_color(ColorRef c)
{
    return std::exchange(m_state.text_color, c & 0xFFFFFF);
}

ColorRef DeviceContext::set_background_color(ColorRef c)
{
    return std::exchange(m_state.background_color, c & 0xFFFFFF);
}

int DeviceContext::set_background_mode(int mode)
{
    if (mode != transparent_background && mode != opaque_background)
        return 0;
    return std::exchange(m_state.background_mode, mode);
}

void DeviceContext::select_clip(std::optional<Rect> rect)
{
    if (rect)
        m_state.clip = Region(rect->offset(m_origin));
    else
        m_state.clip.reset();
    changed();
}

void DeviceContext::intersect_clip(const Rect& rect)
{
    Rect device = rect.offset(m_origin);
    if (m_state.clip)
        m_state.clip->intersect(device);
    else
        m_state.clip = Region(device);
    changed();
}

const Region& DeviceContext::drawable() const
{
    if (!m_drawable_valid) {
        m_drawable = m_area;
        if (m_target)
            m_drawable.intersect(m_target->bounds());
        else
            m_drawable.clear();
        if (m_state.clip)
            m_drawable.intersect(*m_state.clip);
        m_drawable_valid = true;
    }
    return m_drawable;
}

Rect DeviceContext::clip_box() const
{
    Rect box = drawable().bounds();
    return box.empty() ? Rect {} : box.offset({ -m_origin.x, -m_origin.y });
}

int DeviceContext::save()
{
    m_saved.push_back(m_state);
    return int(m_saved.size());
}

bool DeviceContext::restore(int level)
{
    int depth = int(m_saved.size());
    int target = level < 0 ? depth + level + 1 : level;
    if (target < 1 || target > depth)
        return false;
    m_state = m_saved[std::size_t(target - 1)];
    m_saved.resize(std::size_t(target - 1));
    changed();
    return true;
}

int DeviceContext::device_caps(int index) const
{
    Size size = m_kind == Kind::memory ? (m_target ? m_target->size() : Size { 1, 1 }) : framebuffer().size();
    switch (index) {
    case caps::horizontal_resolution:
        return m_kind == Kind::memory ? size.width : framebuffer().width();
    case caps::vertical_resolution:
        return m_kind == Kind::memory ? size.height : framebuffer().height();
    case caps::bits_per_pixel:
        return 32;
    case caps::planes:
        return 1;
    case caps::logical_pixels_x:
    case caps::logical_pixels_y:
        return screen_dpi();
    default:
        return 0;
    }
}

void DeviceContext::touched(const Rect& device_rect)
{
    if (m_kind != Kind::memory && !device_rect.empty())
        screen_touched(device_rect);
}

template<typename F>
void DeviceContext::for_each_span(const Rect& device_rect, F f)
{
    if (!m_target || device_rect.empty())
        return;
    Rect touched_box;
    for (auto& part : drawable().rects()) {
        Rect r = part.intersect(device_rect);
        if (r.empty())
            continue;
        touched_box = touched_box.unite(r);
        for (std::int32_t y = r.top; y < r.bottom; ++y)
            f(m_target->row(y), r.left, r.width(), y);
    }
    touched(touched_box);
}

void DeviceContext::fill_rect(const Rect& rect, ColorRef color)
{
    Pixel p = pixel_of(color);
    for_each_span(rect.offset(m_origin), [p](Pixel* row, std::int32_t x, std::int32_t n, std::int32_t) {
        std::fill(row + x, row + x + n, p);
    });
}

namespace {

struct Segment {
    std::int64_t x0, y0, x1, y1;
    bool include_end;
};

// Cuts a long segment to what can reach the box, so that drawing it takes time
// in proportion to what can be seen, not to its length.
std::optional<Segment> clip_segment(Segment s, const Rect& box)
{
    constexpr std::int64_t short_enough = 8192;
    std::int64_t dx = s.x1 - s.x0, dy = s.y1 - s.y0;
    if (std::max(std::llabs(dx), std::llabs(dy)) <= short_enough)
        return s;
    double t0 = 0, t1 = 1;
    const double p[] = { double(-dx), double(dx), double(-dy), double(dy) };
    const double q[] = { double(s.x0 - (box.left - 2)), double(box.right + 2 - s.x0), double(s.y0 - (box.top - 2)),
        double(box.bottom + 2 - s.y0) };
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return std::nullopt;
            continue;
        }
        double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1)
        return std::nullopt;
    Segment cut { s.x0 + std::llround(t0 * double(dx)), s.y0 + std::llround(t0 * double(dy)),
        s.x0 + std::llround(t1 * double(dx)), s.y0 + std::llround(t1 * double(dy)), t1 < 1 || s.include_end };
    return cut;
}

}

void DeviceContext::polyline(std::span<const Point> points, ColorRef color)
{
    if (!m_target || points.size() < 2)
        return;
    Pixel p = pixel_of(color);
    const Region& area = drawable();
    Rect bounds = area.bounds();
    Rect box;
    auto plot = [&](std::int64_t x, std::int64_t y) {
        if (x >= bounds.left && x < bounds.right && y >= bounds.top && y < bounds.bottom
            && area.contains({ std::int32_t(x), std::int32_t(y) })) {
            m_target->row(std::int32_t(y))[x] = p;
            box = box.unite({ std::int32_t(x), std::int32_t(y), std::int32_t(x) + 1, std::int32_t(y) + 1 });
        }
    };
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        Segment whole { std::int64_t(points[i].x) + m_origin.x, std::int64_t(points[i].y) + m_origin.y,
            std::int64_t(points[i + 1].x) + m_origin.x, std::int64_t(points[i + 1].y) + m_origin.y, false };
        auto seg = clip_segment(whole, bounds);
        if (!seg)
            continue;
        std::int64_t dx = std::llabs(seg->x1 - seg->x0), dy = -std::llabs(seg->y1 - seg->y0);
        int sx = seg->x0 < seg->x1 ? 1 : -1, sy = seg->y0 < seg->y1 ? 1 : -1;
        std::int64_t error = dx + dy;
        std::int64_t x = seg->x0, y = seg->y0;
        while (x != seg->x1 || y != seg->y1) {
            plot(x, y);
            std::int64_t twice = 2 * error;
            if (twice >= dy) {
                error += dy;
                x += sx;
            }
            if (twice <= dx) {
                error += dx;
                y += sy;
            }
        }
        if (seg->include_end)
            plot(x, y);
    }
    touched(box);
}

ColorRef DeviceContext::get_pixel(Point p) const
{
    Point d = p + m_origin;
    if (!m_target || !drawable().contains(d))
        return invalid_color;
    return color_of(m_target->at(d.x, d.y) & 0xFFFFFF);
}

const Bitmap* DeviceContext::readable(const Bitmap* source, std::unique_ptr<Bitmap>& snapshot) const
{
    if (source != m_target)
        return source;
    // Overlapping copies within one surface read what was there before.
    snapshot = Bitmap::create(source->width(), source->height());
    if (snapshot)
        std::copy(source->pixels().begin(), source->pixels().end(), snapshot->pixels().begin());
    return snapshot.get();
}

bool DeviceContext::bit_blt(Rect dest, const DeviceContext& source, Point from, std::uint32_t rop)
{
    Pixel probe = 0;
    if (!apply_rop(rop, probe, 0))
        return false;
    const Bitmap* src = source.m_target;
    if (!src)
        return true;
    Point shift = from + source.m_origin - (dest.top_left() + m_origin);
    Rect device = dest.offset(m_origin).intersect(src->bounds().offset({ -shift.x, -shift.y }));
    std::unique_ptr<Bitmap> snapshot;
    const Bitmap* read = readable(src, snapshot);
    if (!read)
        return true;
    for_each_span(device, [&](Pixel* row, std::int32_t x, std::int32_t n, std::int32_t y) {
        const Pixel* s = read->row(y + shift.y) + x + shift.x;
        if (rop == rop::source_copy) {
            std::copy(s, s + n, row + x);
            return;
        }
        for (std::int32_t i = 0; i < n; ++i)
            apply_rop(rop, row[x + i], s[i]);
    });
    return true;
}

bool DeviceContext::stretch_blt(Rect dest, const DeviceContext& source, Rect from, std::uint32_t rop)
{
    Pixel probe = 0;
    if (dest.width() < 1 || dest.height() < 1 || from.width() < 1 || from.height() < 1 || !apply_rop(rop, probe, 0))
        return false;
    if (dest.size() == from.size())
        return bit_blt(dest, source, from.top_left(), rop);
    const Bitmap* src = source.m_target;
    if (!src)
        return true;
    std::unique_ptr<Bitmap> snapshot;
    src = readable(src, snapshot);
    if (!src)
        return true;
    Point dest_origin = dest.top_left() + m_origin;
    Point src_origin = from.top_left() + source.m_origin;
    Rect src_bounds = src->bounds();
    std::int64_t dw = dest.width(), dh = dest.height(), sw = from.width(), sh = from.height();
    for_each_span(dest.offset(m_origin), [&](Pixel* row, std::int32_t x, std::int32_t n, std::int32_t y) {
        std::int32_t sy = src_origin.y + std::int32_t(std::int64_t(y - dest_origin.y) * sh / dh);
        if (sy < src_bounds.top || sy >= src_bounds.bottom)
            return;
        const Pixel* srow = src->row(sy);
        for (std::int32_t i = 0; i < n; ++i) {
            std::int32_t sx = src_origin.x + std::int32_t(std::int64_t(x + i - dest_origin.x) * sw / dw);
            if (sx >= src_bounds.left && sx < src_bounds.right)
                apply_rop(rop, row[x + i], srow[sx]);
        }
    });
    return true;
}

namespace {

std::u16string strip_prefixes(std::u16string_view text)
{
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        else if (text[i] == u'&')
            continue;
        out.push_back(text[i]);
    }
    return out;
}

std::vector<std::u16string_view> split_lines(std::u16string_view text, bool single)
{
    std::vector<std::u16string_view> lines;
    if (single) {
        lines.push_back(text);
        return lines;
    }
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find(u'\n', start);
        std::u16string_view line = text.substr(start, end == std::u16string_view::npos ? end : end - start);
        if (!line.empty() && line.back() == u'\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::u16string_view::npos)
            return lines;
        start = end + 1;
    }
}

// The longest start of the line that fits the width with the ellipsis after it.
std::u16string with_ellipsis(const Font& font, std::u16string_view line, std::int32_t width)
{
    if (font.width(line) <= width)
        return std::u16string(line);
    std::size_t lo = 0, hi = line.size();
    while (lo < hi) {
        std::size_t mid = (lo + hi + 1) / 2;
        std::u16string candidate(line.substr(0, mid));
        candidate += u'\u2026';
        if (font.width(candidate) <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    std::u16string result(line.substr(0, lo));
    result += u'\u2026';
    return font.width(result) <= width ? result : std::u16string();
}

}

Size DeviceContext::text_extent(std::u16string_view text)
{
    const Font& font = m_state.font ? *m_state.font : Font::system();
    return { font.width(text), font.line_height() };
}

std::vector<std::int32_t> DeviceContext::text_prefix_widths(std::u16string_view text)
{
    const Font& font = m_state.font ? *m_state.font : Font::system();
    return font.prefix_widths(text);
}

void DeviceContext::draw_glyphs(std::u16string_view text, Point position, const Rect& clip_rect, bool clip)
{
    const Font& font = m_state.font ? *m_state.font : Font::system();
    Font::Line line = font.layout(text);
    Rect box = Rect::from(position, { line.width, font.line_height() });
    Rect limit = clip ? clip_rect.offset(m_origin) : Rect { INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2 };
    if (m_state.background_mode == opaque_background) {
        Pixel bk = pixel_of(m_state.background_color);
        for_each_span(box.offset(m_origin).intersect(limit),
            [bk](Pixel* row, std::int32_t x, std::int32_t n, std::int32_t) { std::fill(row + x, row + x + n, bk); });
    }
    Pixel color = pixel_of(m_state.text_color);
    std::int32_t baseline = position.y + m_origin.y + font.ascent();
    std::int32_t pen_x = position.x + m_origin.x + line.origin;
    for (auto& placed : line.glyphs) {
        const Font::Glyph* glyph = placed.first;
        std::int32_t x = placed.second;
        if (glyph->width == 0)
            continue;
        Rect ink = Rect::from({ pen_x + x + glyph->left, baseline - glyph->top }, { glyph->width, glyph->height });
        for_each_span(ink.intersect(limit), [&](Pixel* row, std::int32_t left, std::int32_t n, std::int32_t y) {
            const std::uint8_t* cov = glyph->coverage.data() + std::size_t(y - ink.top) * std::size_t(glyph->width)
                + std::size_t(left - ink.left);
            for (std::int32_t i = 0; i < n; ++i) {
                if (cov[i] == 255)
                    row[left + i] = color;
                else if (cov[i] != 0)
                    row[left + i] = blend(row[left + i], color, cov[i]);
            }
        });
    }
    if (font.log_font().underline) {
        Rect underline { position.x + line.origin, position.y + font.underline_top(),
            position.x + line.origin + line.advance, position.y + font.underline_top() + font.underline_height() };
        for_each_span(underline.offset(m_origin).intersect(limit),
            [color](Pixel* row, std::int32_t x, std::int32_t n, std::int32_t) { std::fill(row + x, row + x + n, color); });
    }
}

int DeviceContext::draw_text(std::u16string_view text, Rect& rect, std::uint32_t flags)
{
    const Font& font = m_state.font ? *m_state.font : Font::system();
    std::u16string stripped;
    if (!(flags & dt::no_prefix)) {
        stripped = strip_prefixes(text);
        text = stripped;
    }
    bool single = flags & dt::single_line;
    auto lines = split_lines(text, single);
    std::int32_t line_height = font.line_height();
    std::int32_t total = line_height * std::int32_t(lines.size());
    if (flags & dt::calc_rect) {
        std::int32_t widest = 0;
        for (auto line : lines)
            widest = std::max(widest, line.empty() ? 0 : font.width(line));
        rect.right = rect.left + widest;
        rect.bottom = rect.top + total;
        return total;
    }
    std::int32_t y = rect.top;
    if (single && (flags & dt::vcenter))
        y = rect.top + (rect.height() - line_height) / 2;
    else if (single && (flags & dt::bottom))
        y = rect.bottom - line_height;
    bool clip = !(flags & dt::no_clip);
    for (auto view : lines) {
        std::u16string line(view);
        if (flags & dt::end_ellipsis)
            line = with_ellipsis(font, line, rect.width());
        std::int32_t w = line.empty() ? 0 : font.width(line);
        std::int32_t x = rect.left;
        if (flags & dt::center)
            x = rect.left + (rect.width() - w) / 2;
        else if (flags & dt::right)
            x = rect.right - w;
        if (!line.empty())
            draw_glyphs(line, { x, y }, rect, clip);
        y += line_height;
    }
    if (single && (flags & (dt::vcenter | dt::bottom)))
        return y - rect.top;
    return total;
}

}
