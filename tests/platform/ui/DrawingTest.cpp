#include "platform/ui/DeviceContext.h"

#include "tests/platform/ui/UiTest.h"

using namespace platform;

namespace {

// A memory context over a fresh bitmap filled with one colour.
struct Canvas {
    explicit Canvas(Size size = { 40, 30 }, Pixel fill = 0)
        : bitmap(Bitmap::create(size.width, size.height))
        , dc(DeviceContext::memory())
    {
        bitmap->fill(fill);
        dc.select_bitmap(bitmap.get());
    }
    Pixel at(std::int32_t x, std::int32_t y) const { return bitmap->at(x, y); }
    std::unique_ptr<Bitmap> bitmap;
    DeviceContext dc;
};

TEST(Drawing, RasterOperationsCombineSourceAndDestination)
{
    struct Case {
        std::uint32_t rop;
        Pixel destination, source, expected;
    };
    const Case cases[] = {
        { rop::source_copy, 0x00112233, 0x00AABBCC, 0x00AABBCC },
        { rop::source_and, 0x00F0F0F0, 0x00FF0F00, 0x00F00000 },
        { rop::source_paint, 0x00F00000, 0x000F00FF, 0x00FF00FF },
        { rop::source_invert, 0x00FFFFFF, 0x000000FF, 0x00FFFF00 },
        // The top byte travels too, for pixel work such as alpha.
        { rop::source_paint, 0x80000000, 0x00123456, 0x80123456 },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.rop);
        Canvas dest({ 4, 4 }, c.destination);
        Canvas src({ 4, 4 }, c.source);
        EXPECT_TRUE(dest.dc.bit_blt({ 1, 1, 3, 3 }, src.dc, { 0, 0 }, c.rop));
        EXPECT_EQ(dest.at(1, 1), c.expected);
        EXPECT_EQ(dest.at(0, 0), c.destination);
    }
    Canvas a, b;
    EXPECT_FALSE(a.dc.bit_blt({ 0, 0, 1, 1 }, b.dc, {}, 0x00550009));
}

TEST(Drawing, MaskThenPictureLeavesTransparentPartsUnchanged)
{
    // The mask is white where the picture is opaque; the picture white where transparent.
    Canvas dest({ 2, 1 }, 0x00336699);
    Canvas mask({ 2, 1 });
    mask.bitmap->row(0)[0] = 0x00FFFFFF;
    Canvas picture({ 2, 1 }, 0x00FFFFFF);
    picture.bitmap->row(0)[0] = 0x00FF0000;
    dest.dc.bit_blt({ 0, 0, 2, 1 }, mask.dc, {}, rop::source_paint);
    dest.dc.bit_blt({ 0, 0, 2, 1 }, picture.dc, {}, rop::source_and);
    EXPECT_EQ(dest.at(0, 0), 0x00FF0000u);
    EXPECT_EQ(dest.at(1, 0), 0x00336699u);
}

TEST(Drawing, StretchIsNearestNeighbourAndRefusesEmptyExtents)
{
    Canvas src({ 2, 2 });
    src.bitmap->row(0)[0] = 1;
    src.bitmap->row(0)[1] = 2;
    src.bitmap->row(1)[0] = 3;
    src.bitmap->row(1)[1] = 4;
    Canvas dest({ 6, 4 });
    EXPECT_TRUE(dest.dc.stretch_blt({ 0, 0, 6, 4 }, src.dc, { 0, 0, 2, 2 }, rop::source_copy));
    const Pixel expected[4][6] = { { 1, 1, 1, 2, 2, 2 }, { 1, 1, 1, 2, 2, 2 }, { 3, 3, 3, 4, 4, 4 }, { 3, 3, 3, 4, 4, 4 } };
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(dest.at(x, y), expected[y][x]) << x << "," << y;
    EXPECT_FALSE(dest.dc.stretch_blt({ 0, 0, 0, 4 }, src.dc, { 0, 0, 2, 2 }, rop::source_copy));
    EXPECT_FALSE(dest.dc.stretch_blt({ 0, 0, 6, 4 }, src.dc, { 1, 1, 1, 2 }, rop::source_copy));
    // A source rectangle reaching beyond the bitmap copies only what exists.
    Canvas fresh({ 6, 4 }, 9);
    fresh.dc.bit_blt({ 0, 0, 6, 4 }, src.dc, { 1, 1 }, rop::source_copy);
    EXPECT_EQ(fresh.at(0, 0), 4u);
    EXPECT_EQ(fresh.at(1, 0), 9u);
}

TEST(Drawing, PolylineLeavesOutItsLastPoint)
{
    Canvas c;
    Point line[] = { { 10, 10 }, { 10, 20 } };
    c.dc.polyline(line, rgb(255, 0, 0));
    for (int y = 0; y < 30; ++y)
        EXPECT_EQ(c.at(10, y), (y >= 10 && y < 20) ? 0x00FF0000u : 0u) << y;
    Canvas d;
    Point corner[] = { { 0, 0 }, { 3, 0 }, { 3, 2 } };
    d.dc.polyline(corner, rgb(0, 0, 255));
    EXPECT_EQ(d.at(3, 0), 0x000000FFu);
    EXPECT_EQ(d.at(3, 1), 0x000000FFu);
    EXPECT_EQ(d.at(3, 2), 0u);
    // Far outside the surface: clipped, no harm, no time spent on what cannot show.
    Point far[] = { { -100000, -5 }, { 100000, 5 } };
    d.dc.polyline(far, rgb(0, 255, 0));
    EXPECT_EQ(d.at(20, 0), 0x0000FF00u);
    Point extreme[] = { { INT32_MIN, INT32_MIN }, { INT32_MAX, INT32_MAX }, { INT32_MIN, 15 }, { INT32_MAX, 15 } };
    d.dc.polyline(extreme, rgb(255, 0, 255));
    EXPECT_EQ(d.at(10, 10), 0x00FF00FFu);
    EXPECT_EQ(d.at(39, 15), 0x00FF00FFu);
    d.dc.fill_rect({ INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX }, rgb(1, 2, 3));
    EXPECT_EQ(d.at(0, 0), 0x00010203u);
}

TEST(Drawing, ClipsIntersectAndRestore)
{
    Canvas c({ 200, 200 });
    c.dc.intersect_clip({ 0, 0, 100, 100 });
    int level = c.dc.save();
    c.dc.intersect_clip({ 50, 50, 150, 150 });
    EXPECT_EQ(c.dc.clip_box(), (Rect { 50, 50, 100, 100 }));
    c.dc.fill_rect({ 0, 0, 200, 200 }, rgb(0, 0, 255));
    EXPECT_EQ(c.at(49, 60), 0u);
    EXPECT_EQ(c.at(60, 60), 0x000000FFu);
    EXPECT_EQ(c.at(100, 60), 0u);
    EXPECT_EQ(c.dc.get_pixel({ 10, 10 }), invalid_color);
    // A clip wholly outside gives nothing to draw on; restoring brings the previous one back exactly.
    c.dc.intersect_clip({ 300, 300, 310, 310 });
    EXPECT_EQ(c.dc.clip_box(), Rect {});
    EXPECT_TRUE(c.dc.restore(level));
    EXPECT_EQ(c.dc.clip_box(), (Rect { 0, 0, 100, 100 }));
    EXPECT_FALSE(c.dc.restore(level));
    c.dc.select_clip(std::nullopt);
    EXPECT_EQ(c.dc.clip_box(), (Rect { 0, 0, 200, 200 }));
    EXPECT_EQ(c.dc.get_pixel({ 60, 60 }), rgb(0, 0, 255));
}

TEST(Drawing, BitmapSelectionRulesAndLimits)
{
    EXPECT_EQ(Bitmap::create(0, 10), nullptr);
    EXPECT_EQ(Bitmap::create(10, -1), nullptr);
    EXPECT_EQ(Bitmap::create(Bitmap::max_side + 1, 1), nullptr);
    EXPECT_EQ(Bitmap::create(10000, 10000), nullptr);
    auto bitmap = Bitmap::create(8, 8);
    DeviceContext first = DeviceContext::memory();
    DeviceContext second = DeviceContext::memory();
    EXPECT_EQ(first.select_bitmap(bitmap.get()), std::optional<Bitmap*>(nullptr));
    EXPECT_EQ(second.select_bitmap(bitmap.get()), std::nullopt);
    DeviceContext screen = DeviceContext::for_screen();
    EXPECT_EQ(screen.select_bitmap(nullptr), std::nullopt);
    // A bitmap freed while selected leaves the context drawing nothing.
    bitmap.reset();
    first.fill_rect({ 0, 0, 8, 8 }, 0);
    EXPECT_EQ(first.selected_bitmap(), nullptr);
    EXPECT_EQ(first.get_pixel({ 0, 0 }), invalid_color);
}

TEST(Drawing, OverlappingCopyWithinOneBitmapReadsTheOldPixels)
{
    Canvas c({ 5, 1 });
    for (int x = 0; x < 5; ++x)
        c.bitmap->row(0)[x] = Pixel(x + 1);
    c.dc.bit_blt({ 1, 0, 5, 1 }, c.dc, { 0, 0 }, rop::source_copy);
    EXPECT_EQ(std::vector<Pixel>(c.bitmap->pixels().begin(), c.bitmap->pixels().end()), (std::vector<Pixel> { 1, 1, 2, 3, 4 }));
}

}
