#include "skinner/graphics/Canvas.h"

#include "os/Log.h"
#include "skinner/graphics/HDCSelector.h"
#include "tests/skinner/graphics/CanvasScreen.h"

namespace {

using skinner::Canvas;
using skinner::Color;
using skinner::Point;
using skinner::Size;

constexpr Color red { 255, 0, 0, 0 };
constexpr Color blue { 0, 0, 255, 9 }; // the fourth byte is not drawn

using CanvasDrawing = test::CanvasScreen;

const std::map<char, platform::ColorRef> legend { { '.', test::background },
    { 'r', platform::rgb(255, 0, 0) }, { 'b', platform::rgb(0, 0, 255) } };

TEST_F(CanvasDrawing, NestedClipsIntersectAndPopRestoresTheClipBelow)
{
    draw([](Canvas& c) {
        c.push_clip({ 2, 2 }, { 8, 8 });
        c.push_clip({ 5, 5 }, { 8, 8 });
        c.fill_rect({ 0, 0 }, { 20, 20 }, red); // 5 to 9 only
        c.push_clip({ 30, 30 }, { 4, 4 }); // wholly outside: empty
        c.fill_rect({ 0, 0 }, { 20, 20 }, blue);
        c.pop_clip();
        c.fill_rect({ 9, 9 }, { 20, 20 }, blue); // still 5 to 9
        c.pop_clip();
        c.fill_rect({ 0, 0 }, { 4, 3 }, blue); // back to 2 to 9
    });
    EXPECT_EQ(pixels({ 0, 0, 12, 12 }, legend),
        (std::vector<std::string> {
            "............",
            "............",
            "..bb........",
            "............",
            "............",
            ".....rrrrr..",
            ".....rrrrr..",
            ".....rrrrr..",
            ".....rrrrr..",
            ".....rrrrb..",
            "............",
            "............",
        }));
}

TEST_F(CanvasDrawing, TheCanvasRectangleIsNeverPopped)
{
    draw([](Canvas& c) {
        skinner::CanvasImpl inner(c.dc(), { 4, 4 }, { 3, 2 });
        Canvas small(inner);
        small.pop_clip();
        small.pop_clip();
        small.fill_rect({ 0, 0 }, { 50, 50 }, red);
        EXPECT_EQ(inner.clip_depth(), 1u);
    });
    EXPECT_EQ(ink(), (platform::Rect { 4, 4, 7, 6 }));
}

TEST_F(CanvasDrawing, ClipsMeetingAtAnEdgeLeaveNothing)
{
    struct Case {
        Point position;
        Size size;
    };

    // Touching the clip from each side, and negative sizes.
    const Case cases[] = { { { 0, 0 }, { 10, 10 } }, { { 20, 10 }, { 5, 5 } }, { { 10, 0 }, { 5, 10 } },
        { { 10, 20 }, { 10, 5 } }, { { 12, 12 }, { -5, -5 } } };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.position.x << "," << k.position.y);
        draw([&](Canvas& c) {
            c.push_clip({ 10, 10 }, { 10, 10 });
            c.push_clip(k.position, k.size);
            c.fill_rect({ 0, 0 }, { 100, 100 }, red);
            c.pop_clip();
        });
        EXPECT_EQ(ink(), platform::Rect {});
    }
}

TEST_F(CanvasDrawing, LinesLeaveOutTheirLastPoint)
{
    draw([](Canvas& c) {
        c.draw_polyline({ 10, 10 }, { 10, 20 }, red);
        c.draw_polyline({ 20, 5 }, { 25, 5 }, blue);
    });
    EXPECT_EQ(ink(), (platform::Rect { 10, 5, 25, 20 }));
    for (int y = 10; y < 20; ++y)
        EXPECT_EQ(pixel(10, y), platform::rgb(255, 0, 0)) << y;
    EXPECT_EQ(pixel(10, 20), test::background);
    EXPECT_EQ(pixel(24, 5), platform::rgb(0, 0, 255));
    EXPECT_EQ(pixel(25, 5), test::background);
}

TEST(HDCSelector, ABitmapSelectedElsewhereIsFatal)
{
    const auto bitmap = platform::Bitmap::create(2, 2);
    {
        skinner::HDCSelector once(bitmap.get());
        ASSERT_FALSE(once.empty());
        EXPECT_EXIT(skinner::HDCSelector twice(bitmap.get()), testing::ExitedWithCode(os::fatal_exit_code),
            "Failed to select bitmap into context");
    }
    // Released with its holder.
    EXPECT_FALSE(skinner::HDCSelector(bitmap.get()).empty());
    EXPECT_TRUE(skinner::HDCSelector(nullptr).empty());
}

}
