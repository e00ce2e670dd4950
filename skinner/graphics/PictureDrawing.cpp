#include "skinner/graphics/PictureDrawing.h"

#include "skinner/graphics/HDCSelector.h"

#include <algorithm>

namespace skinner {

using platform::Rect;

namespace {

// Nothing on a screen lies this far out; sums of it stay inside 32 bits.
constexpr std::int32_t coordinate_limit = 1 << 29;

std::int32_t clamp_coordinate(std::int32_t v)
{
    return std::clamp(v, -coordinate_limit, coordinate_limit);
}

Rect rect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height)
{
    return Rect::from({ x, y }, { width, height });
}

// Borders that together exceed the extent give up the excess, the far one
// the larger half; a border driven below 0 passes its debt to the other.
void fit_borders(std::int32_t& near, std::int32_t& far, std::int32_t extent)
{
    const std::int32_t excess = near + far - extent;
    if (excess <= 0)
        return;
    far -= (excess + 1) / 2;
    near -= excess / 2;
    if (near < 0) {
        far += near;
        near = 0;
    }
    if (far < 0) {
        near += far;
        far = 0;
    }
}

// The middle pieces: stretched or tiled from their source rectangle.
void fill_part(BlitContext& blits, bool stretch, const Rect& target, const Rect& source)
{
    if (stretch)
        blits.stretch_blit(target, source);
    else
        blits.tile(target, source.left, source.top, source.width(), source.height());
}

// The canvas under the target, blended with the source pixels, whose top
// byte is their opacity. Divides by 255, so that opaque pixels come out as
// the source colour exactly and clear ones leave the canvas as it was.
void blend(const platform::Bitmap& source, platform::Bitmap& canvas)
{
    auto s = source.pixels();
    auto d = canvas.pixels();
    for (std::size_t i = 0; i < s.size(); ++i) {
        const std::uint32_t alpha = s[i] >> 24;
        if (alpha == 255) {
            d[i] = s[i] & 0xFFFFFF;
            continue;
        }
        platform::Pixel out = 0;
        for (int shift : { 0, 8, 16 }) {
            const std::uint32_t sc = s[i] >> shift & 0xFF, dc = d[i] >> shift & 0xFF;
            out |= ((sc * alpha + dc * (255 - alpha) + 127) / 255) << shift;
        }
        d[i] = out;
    }
}

void draw_with_alpha(Canvas& canvas, const Image& image, const PictureParts& parts, const Rect& target)
{
    // Only the part the clip lets through is composed.
    const Rect visible = target.intersect(canvas.dc().clip_box());
    if (visible.empty())
        return;
    auto composed = platform::Bitmap::create(visible.width(), visible.height());
    auto under = platform::Bitmap::create(visible.width(), visible.height());
    if (!composed || !under)
        return;
    const Rect local = target.offset({ -visible.left, -visible.top });
    const auto scale = static_cast<std::int32_t>(image.scale());
    {
        HDCSelector work(composed.get());
        HDCSelector companion(image.mask());
        HDCSelector color(image.color());
        BlitContext opacity(*work.dc(), *companion.dc(), nullptr, platform::rop::source_copy);
        draw_nine_parts(opacity, parts, scale, local);
        for (platform::Pixel& p : composed->pixels())
            p <<= 24; // the companion's blue is the opacity
        BlitContext colors(*work.dc(), *color.dc(), nullptr, platform::rop::source_paint);
        draw_nine_parts(colors, parts, scale, local);
    }
    HDCSelector back(under.get());
    const Rect whole = under->bounds();
    back.dc()->bit_blt(whole, canvas.dc(), visible.top_left(), platform::rop::source_copy);
    blend(*composed, *under);
    canvas.dc().bit_blt(visible, *back.dc(), {}, platform::rop::source_copy);
}

}

void draw_nine_parts(BlitContext& blits, const PictureParts& parts, std::int32_t s, const Rect& target)
{
    const std::int32_t x1 = target.left, y1 = target.top, x2 = target.right, y2 = target.bottom;
    const std::int32_t sl = parts.source_top_left.x, st = parts.source_top_left.y;
    const std::int32_t sr = parts.source_bottom_right.x, sb = parts.source_bottom_right.y;
    const std::int32_t il = parts.inner_top_left.x, it = parts.inner_top_left.y;
    const std::int32_t ir = parts.inner_bottom_right.x, ib = parts.inner_bottom_right.y;
    std::int32_t L = il - sl, R = sr - ir, T = it - st, B = sb - ib;
    fit_borders(L, R, x2 - x1);
    fit_borders(T, B, y2 - y1);

    if (L >= 1 && T >= 1)
        blits.blit(x1, y1, L, T, sl, st);
    if (R >= 1 && T >= 1)
        blits.blit(x2 - R, y1, R, T, sr - R, st);
    if (L >= 1 && B >= 1)
        blits.blit(x1, y2 - B, L, B, sl, sb - B);
    if (R >= 1 && B >= 1)
        blits.blit(x2 - R, y2 - B, R, B, sr - R, sb - B);

    const std::int32_t MW = ir - il, MH = ib - it;
    const std::int32_t width = x2 - x1 - L - R, height = y2 - y1 - T - B;
    if (width >= 1) {
        if (MW == s && T == s)
            for (std::int32_t i = 0; i < T; ++i)
                blits.fill_from_pixel(rect(x1 + L, y1 + i, width, 1), sl + L, st + i);
        else
            fill_part(blits, parts.stretch, rect(x1 + L, y1, width, T), rect(sl + L, st, MW, T));
        if (MW == s && B == s)
            for (std::int32_t i = 0; i < B; ++i)
                blits.fill_from_pixel(rect(x1 + L, y2 - B + i, width, 1), sl + L, sb - B + i);
        else
            fill_part(blits, parts.stretch, rect(x1 + L, y2 - B, width, B), rect(sl + L, sb - B, MW, B));
    }
    if (height >= 1) {
        if (L == s && MH == s)
            for (std::int32_t i = 0; i < L; ++i)
                blits.line_from_pixel(x1 + i, y1 + T, height, sl + i, st + T);
        else
            fill_part(blits, parts.stretch, rect(x1, y1 + T, L, height), rect(sl, st + T, L, MH));
        if (R == s && MH == s)
            for (std::int32_t i = 0; i < R; ++i)
                blits.line_from_pixel(x2 - R + i, y1 + T, height, sr - R + i, st + T);
        else
            fill_part(blits, parts.stretch, rect(x2 - R, y1 + T, R, height), rect(sr - R, st + T, R, MH));
    }
    if (width >= 1 && height >= 1) {
        if (MW == s && MH == s)
            blits.fill_from_pixel(rect(x1 + L, y1 + T, width, height), il, it);
        else
            fill_part(blits, parts.stretch, rect(x1 + L, y1 + T, width, height), rect(il, it, MW, MH));
    }
}

void draw_image(Canvas& canvas, const Image& image, const PictureParts& parts, const Rect& target)
{
    const Rect t { clamp_coordinate(target.left), clamp_coordinate(target.top),
        clamp_coordinate(target.right), clamp_coordinate(target.bottom) };
    if (t.width() < 1 || t.height() < 1 || !image.is_valid())
        return;
    if (image.has_alpha()) {
        draw_with_alpha(canvas, image, parts, t);
        return;
    }
    HDCSelector color(image.color());
    HDCSelector mask(image.mask());
    BlitContext blits(canvas.dc(), *color.dc(), mask.dc(), platform::rop::source_copy);
    draw_nine_parts(blits, parts, static_cast<std::int32_t>(image.scale()), t);
}

}
