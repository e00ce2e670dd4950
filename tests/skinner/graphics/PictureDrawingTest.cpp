#include "platform/core/Utf8.h"
#include "skinner/skin/Picture.h"
#include "tests/skinner/graphics/CanvasScreen.h"
#include "tests/skinner/graphics/PictureFiles.h"
#include "tests/skinner/skin/SkinFixture.h"

#include <cmath>
#include <optional>

namespace {

using platform::ColorRef;
using platform::rgb;
using skinner::Canvas;
using skinner::Picture;
using skinner::Point;
using skinner::Size;

constexpr ColorRef red = rgb(220, 30, 40), green = rgb(30, 200, 60), blue = rgb(20, 40, 230),
                   grey = rgb(90, 90, 90), white = rgb(255, 255, 255), black = rgb(0, 0, 0);
const std::map<char, ColorRef> colors { { 'r', red }, { 'g', green }, { 'b', blue }, { 'k', grey },
    { 'w', white }, { '.', black } };

class PictureDrawing : public test::CanvasScreen {
protected:
    std::u16string base() const { return platform::from_utf8(dir.file("test.skin")); }

    Picture picture(const std::u16string& name, std::uint32_t scale = 1) const
    {
        return Picture(base(), name, false, scale);
    }

    // Where the area of the screen differs from the expectation: the first such pixel.
    template<class Expected>
    std::string first_difference(const platform::Rect& area, Expected expected) const
    {
        for (std::int32_t y = area.top; y < area.bottom; ++y)
            for (std::int32_t x = area.left; x < area.right; ++x)
                if (pixel(x, y) != expected(x, y))
                    return "at " + std::to_string(x) + "," + std::to_string(y) + ": "
                        + std::to_string(pixel(x, y)) + " instead of " + std::to_string(expected(x, y));
        return {};
    }

    test::TempDir dir;
};

// Every destination pixel shows the source pixel that the picture maps it
// to: corners 1:1, edges and centre stretched or tiled, one-pixel parts as
// fills, at several sizes, inside a clip or not.
TEST_F(PictureDrawing, NinePartsShowTheMappedSourcePixelAtEverySize)
{
    test::make_coded_picture(dir, "nine.png", 9, 7);

    struct Parts {
        const char* name;
        Point source_tl, inner_tl, inner_br, source_br;
    };

    const Parts parts[] = {
        { "borders of 2, 4, 1 and 3", { 0, 0 }, { 2, 1 }, { 5, 4 }, { 9, 7 } },
        { "a part inside the image", { 1, 1 }, { 3, 2 }, { 6, 5 }, { 8, 7 } },
        { "no borders", { 0, 0 }, { 0, 0 }, { 9, 7 }, { 9, 7 } },
        { "one-pixel frame and centre", { 4, 2 }, { 5, 3 }, { 6, 4 }, { 7, 5 } },
        { "one-pixel edges, wider centre", { 0, 0 }, { 1, 1 }, { 3, 4 }, { 4, 5 } },
    };

    struct Target {
        Point position;
        Size size;
        std::optional<std::pair<Point, Size>> clip;
    };

    const Target targets[] = {
        { { 3, 4 }, { 9, 7 }, std::nullopt }, { { 40, 50 }, { 31, 17 }, std::nullopt },
        { { 10, 100 }, { 100, 20 }, std::nullopt },
        { { 20, 20 }, { 7, 5 }, std::nullopt }, // a middle of one pixel
        { { 30, 150 }, { 70, 90 }, std::pair { Point { 41, 163 }, Size { 23, 31 } } },
        { { -20, -30 }, { 60, 50 }, std::nullopt }, // partly off the screen
    };
    const Picture image = picture(u"nine");
    ASSERT_TRUE(image.get_image()->is_valid());
    for (const Parts& p : parts)
        for (bool stretch : { false, true })
            for (const Target& t : targets) {
                SCOPED_TRACE(testing::Message() << p.name << (stretch ? ", stretched" : ", tiled") << " into "
                                                << t.size.width << "x" << t.size.height);
                const Picture drawn
                    = test::with_parts(image, p.source_tl, p.inner_tl, p.inner_br, p.source_br, stretch);
                draw([&](Canvas& c) {
                    if (t.clip)
                        c.push_clip(t.clip->first, t.clip->second);
                    drawn.draw(c, t.position, t.size);
                });
                const platform::Rect target
                    = platform::Rect::from({ t.position.x, t.position.y }, { t.size.width, t.size.height });
                const platform::Rect shown = t.clip
                    ? target.intersect(platform::Rect::from({ t.clip->first.x, t.clip->first.y },
                        { t.clip->second.width, t.clip->second.height }))
                    : target;
                const platform::Rect around
                    = target.unite({ target.left - 2, target.top - 2, target.right + 2, target.bottom + 2 })
                          .intersect({ 0, 0, 240, 320 });
                EXPECT_EQ(first_difference(around,
                              [&](std::int32_t x, std::int32_t y) {
                                  if (!shown.contains({ x, y }))
                                      return test::background;
                                  const Point s = drawn.map_point({ x, y }, t.position, t.size);
                                  return test::coded_color(s.x, s.y);
                              }),
                    "");
            }
}

TEST_F(PictureDrawing, BordersWiderThanTheTargetShrinkTheFarOneFirst)
{
    test::make_coded_picture(dir, "wide.png", 30, 2);

    struct Case {
        std::int32_t inner_right, width;
        std::vector<int> columns; // the source column of each drawn column
    };

    const Case cases[] = {
        // Borders of 10 and 10 into 15: 8 and 7, no middle.
        { 20, 15, { 0, 1, 2, 3, 4, 5, 6, 7, 23, 24, 25, 26, 27, 28, 29 } },
        // Borders of 10 and 2 into 4: the left border alone, cut to 4.
        { 28, 4, { 0, 1, 2, 3 } },
    };
    const Picture image = picture(u"wide");
    for (const Case& k : cases) {
        SCOPED_TRACE(k.width);
        const Picture drawn
            = test::with_parts(image, { 0, 0 }, { 10, 0 }, { k.inner_right, 2 }, { 30, 2 }, false);
        draw([&](Canvas& c) { drawn.draw(c, { 5, 5 }, { k.width, 2 }); });
        for (std::int32_t y = 0; y < 2; ++y)
            for (std::int32_t x = 0; x < k.width; ++x)
                EXPECT_EQ(pixel(5 + x, 5 + y), test::coded_color(k.columns[std::size_t(x)], y))
                    << x << "," << y;
        EXPECT_EQ(pixel(5 + k.width, 5), test::background);
    }
}

TEST_F(PictureDrawing, NothingForAnEmptyPictureOrTarget)
{
    test::make_coded_picture(dir, "nine.png", 9, 7);
    const Picture image = picture(u"nine");
    draw([&](Canvas& c) {
        Picture().draw(c, { 0, 0 }, { 50, 50 });
        image.draw(c, { 10, 10 }, { 0, 20 });
        image.draw(c, { 10, 10 }, { 20, -1 });
        Picture::from_file(base(), u"missing", false).draw(c, { 0, 0 }, { 50, 50 });
    });
    EXPECT_EQ(ink(), platform::Rect {});
}

TEST_F(PictureDrawing, TransparencyMaskLeavesTheCanvasWhereItIsBlack)
{
    // The picture is not white under the mask's black: the canvas must show through all the same.
    test::make_picture(dir, "icon.png", { "rgbk", "kbgr" }, colors);
    test::make_picture(dir, "icon_1.png", { "w.w.", ".ww." }, colors);
    const Picture icon = picture(u"icon");
    ASSERT_NE(icon.get_image()->mask(), nullptr);
    EXPECT_FALSE(icon.get_image()->has_alpha());
    draw([&](Canvas& c) {
        icon.draw(c, { 10, 10 }, { 4, 2 });
        test::with_parts(icon, { 0, 0 }, { 0, 0 }, { 4, 2 }, { 4, 2 }, true).draw(c, { 20, 10 }, { 8, 4 });
    });
    const std::map<char, ColorRef> legend { { 'r', red }, { 'g', green }, { 'b', blue }, { 'k', grey },
        { '-', test::background } };
    EXPECT_EQ(pixels({ 10, 10, 14, 12 }, legend), (std::vector<std::string> { "r-b-", "-bg-" }));
    EXPECT_EQ(pixels({ 20, 10, 28, 14 }, legend),
        (std::vector<std::string> { "rr--bb--", "rr--bb--", "--bbgg--", "--bbgg--" }));
}

TEST_F(PictureDrawing, OnePixelFillsKeepTheMaskRule)
{
    // A 3 x 3 frame whose centre and right edge are masked out.
    test::make_picture(dir, "frame.png", { "rgb", "gkb", "bgr" }, colors);
    test::make_picture(dir, "frame_1.png", { "www", "w..", "www" }, colors);
    const Picture frame = test::with_parts(picture(u"frame"), { 0, 0 }, { 1, 1 }, { 2, 2 }, { 3, 3 }, true);
    draw([&](Canvas& c) { frame.draw(c, { 10, 10 }, { 6, 4 }); });
    const std::map<char, ColorRef> legend { { 'r', red }, { 'g', green }, { 'b', blue }, { 'k', grey },
        { '-', test::background } };
    EXPECT_EQ(pixels({ 10, 10, 16, 14 }, legend),
        (std::vector<std::string> { "rggggb", "g-----", "g-----", "bggggr" }));
}

// The companion's blue is the opacity: opaque shows the picture's colour
// exactly, clear leaves the canvas, and between them the two mix.
TEST_F(PictureDrawing, AlphaCompanionBlendsWithTheCanvas)
{
    constexpr ColorRef half = rgb(128, 128, 128), quarter = rgb(64, 64, 64), opaque = rgb(255, 255, 255),
                       clear = rgb(0, 0, 0);
    test::make_picture(dir, "glass.png", { "wgbk" }, colors);
    test::make_picture(
        dir, "glass_8.png", { "oxhq" }, { { 'o', opaque }, { 'x', clear }, { 'h', half }, { 'q', quarter } });
    const Picture glass = picture(u"glass");
    ASSERT_TRUE(glass.get_image()->has_alpha());
    const Picture stretched = test::with_parts(glass, { 0, 0 }, { 0, 0 }, { 4, 1 }, { 4, 1 }, true);
    draw([&](Canvas& c) {
        glass.draw(c, { 10, 10 }, { 4, 1 });
        stretched.draw(c, { 10, 20 }, { 8, 3 });
        c.push_clip({ 13, 30 }, { 4, 1 });
        stretched.draw(c, { 10, 30 }, { 8, 1 }); // only its middle
        c.pop_clip();
    });
    const ColorRef picture_colors[] = { white, green, blue, grey };
    const int opacity[] = { 255, 0, 128, 64 };
    const auto expected = [&](int i) {
        ColorRef out = 0;
        for (int shift : { 0, 8, 16 }) {
            const double s = picture_colors[i] >> shift & 0xFF, d = test::background >> shift & 0xFF;
            out |= ColorRef(std::lround(d + (s - d) * opacity[i] / 255.0)) << shift;
        }
        return out;
    };
    const auto near = [](ColorRef a, ColorRef b) {
        for (int shift : { 0, 8, 16 })
            if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > 1)
                return false;
        return true;
    };
    EXPECT_EQ(pixel(10, 10), white); // exactly, lighter than the canvas
    EXPECT_EQ(pixel(11, 10), test::background);
    for (int i = 0; i < 4; ++i) {
        EXPECT_PRED2(near, pixel(10 + i, 10), expected(i)) << i;
        for (int y = 20; y < 23; ++y)
            for (int x : { 10 + 2 * i, 11 + 2 * i })
                EXPECT_EQ(pixel(x, y), pixel(10 + i, 10)) << x << "," << y;
    }
    for (int x = 10; x < 18; ++x)
        EXPECT_EQ(pixel(x, 30), x >= 13 && x < 17 ? pixel(10 + (x - 10) / 2, 10) : test::background) << x;
}

TEST_F(PictureDrawing, MaskWinsOverAlphaCompanion)
{
    test::make_picture(dir, "both.png", { "rg" }, colors);
    test::make_picture(dir, "both_1.png", { "w." }, colors);
    test::make_picture(dir, "both_8.png", { "kk" }, colors);
    const Picture both = picture(u"both");
    EXPECT_FALSE(both.get_image()->has_alpha());
    draw([&](Canvas& c) { both.draw(c, { 10, 10 }, { 2, 1 }); });
    EXPECT_EQ(pixel(10, 10), red);
    EXPECT_EQ(pixel(11, 10), test::background);
}

TEST_F(PictureDrawing, HitTestTellsWhereThePictureIsTransparent)
{
    test::make_picture(dir, "hit.png", { "rgb" }, colors);
    test::make_picture(dir, "hit_1.png", { "w.w" }, colors);
    test::make_picture(dir, "plain.png", { "rgb" }, colors);
    const Picture hit = test::with_parts(picture(u"hit"), { 0, 0 }, { 1, 0 }, { 2, 1 }, { 3, 1 }, true);
    const Point at { 100, 50 };
    const Size size { 30, 10 };
    EXPECT_FALSE(hit.hit_test({ 100, 50 }, at, size));
    EXPECT_TRUE(hit.hit_test({ 115, 55 }, at, size)); // the stretched middle is masked
    EXPECT_FALSE(hit.hit_test({ 129, 59 }, at, size));
    EXPECT_TRUE(hit.hit_test({ 130, 55 }, at, size)); // outside
    EXPECT_TRUE(hit.hit_test({ 99, 55 }, at, size));
    EXPECT_FALSE(picture(u"plain").hit_test({ 115, 55 }, at, size));
    EXPECT_TRUE(Picture().hit_test({ 115, 55 }, at, size));
}

TEST_F(PictureDrawing, ScaleVariantsAndStretchedPlainFiles)
{
    test::make_picture(dir, "btn.png", { "rg" }, colors);
    test::make_picture(dir, "btn_x2.png", { "bbb", "kkk" }, colors);
    test::make_picture(dir, "solo.png", { "rg" }, colors);
    test::make_picture(dir, "solo_1.png", { "w." }, colors);
    // The ready-made variant at its own size, unstretched.
    const Picture btn = picture(u"btn", 2);
    EXPECT_EQ(btn.get_size(), (Size { 3, 2 }));
    // No variant: the plain file and its mask stretched to twice their size.
    const Picture solo = picture(u"solo", 2);
    EXPECT_EQ(solo.get_size(), (Size { 4, 2 }));
    EXPECT_EQ(solo.get_image()->scale(), 2u);
    draw([&](Canvas& c) {
        btn.draw(c, { 10, 10 }, btn.get_size());
        solo.draw(c, { 20, 10 }, solo.get_size());
    });
    const std::map<char, ColorRef> legend { { 'r', red }, { 'g', green }, { 'b', blue }, { 'k', grey },
        { '-', test::background } };
    EXPECT_EQ(pixels({ 10, 10, 13, 12 }, legend), (std::vector<std::string> { "bbb", "kkk" }));
    EXPECT_EQ(pixels({ 20, 10, 24, 12 }, legend), (std::vector<std::string> { "rr--", "rr--" }));
    EXPECT_FALSE(picture(u"none", 2).get_image()->is_valid());
}

}
