#include "platform/core/Utf8.h"
#include "platform/ui/Font.h"
#include "skinner/graphics/FontDescription.h"
#include "skinner/graphics/Font.h"
#include "tests/skinner/graphics/CanvasScreen.h"

namespace {

using skinner::Canvas;
using skinner::Font;
using skinner::FontDescription;
using skinner::Point;
using skinner::Size;

TEST(FontDescriptions, FourNumbersAndAFace)
{
    struct Case {
        const char16_t* text;
        std::optional<FontDescription> expected;
    };

    const Case cases[] = {
        { u"14 1 0 0 Tahoma", FontDescription { 14, 1, 0, 0, u"Tahoma" } },
        { u"  9 0 1 1   DejaVu Sans", FontDescription { 9, 0, 1, 1, u"DejaVu Sans" } },
        { u"-3 0 0 0 X", FontDescription { -3, 0, 0, 0, u"X" } },
        { u"8 0 0 0 A face name that runs to forty chars",
            FontDescription { 8, 0, 0, 0, u"A face name that runs to forty " } },
        { u"14 1 0 Tahoma", std::nullopt },
        { u"14 1 0 0", std::nullopt },
        { u"14 1 0 0   ", std::nullopt },
        { u"x 1 0 0 Tahoma", std::nullopt },
        { u"", std::nullopt },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::to_utf8(c.text));
        EXPECT_EQ(skinner::parse_font_description(c.text), c.expected);
    }
}

TEST(FontReps, HeightInPointsAt96DotsPerInchTimesTheScale)
{
    struct Case {
        const char16_t* description;
        std::uint32_t scale;
        std::int32_t height, weight;
        bool italic, underline;
    };

    const Case cases[] = {
        { u"14 1 0 0 Tahoma", 1, -18, 700, false, false },
        { u"14 1 0 0 Tahoma", 2, -37, 700, false, false }, // 37.33 cut toward zero
        { u"10 0 1 1 Tahoma", 3, -40, 400, true, true },
        { u"9 5 2 0 Tahoma", 1, -12, 700, true, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::to_utf8(c.description));
        const skinner::FontRep rep(c.description, c.scale);
        ASSERT_TRUE(rep.log_font());
        EXPECT_EQ(rep.log_font()->height, c.height);
        EXPECT_EQ(rep.log_font()->weight, c.weight);
        EXPECT_EQ(rep.log_font()->italic, c.italic);
        EXPECT_EQ(rep.log_font()->underline, c.underline);
        EXPECT_EQ(rep.log_font()->face, u"Tahoma");
        EXPECT_NE(rep.font(), nullptr);
    }
    EXPECT_EQ(skinner::FontRep(u"not a font", 1).font(), nullptr);
}

TEST(FontReps, SharedByDescriptionAndScaleAndDeletedWithTheLastFont)
{
    const std::size_t before = skinner::fonts_in_use();
    {
        Font a(1), b(1), other_scale(2);
        a.set_description(u"11 0 0 0 Tahoma");
        b.set_description(u"11 0 0 0 Tahoma");
        other_scale.set_description(u"11 0 0 0 Tahoma");
        ASSERT_NE(a.platform_font(), nullptr);
        EXPECT_EQ(a.platform_font(), b.platform_font());
        EXPECT_NE(a.platform_font(), other_scale.platform_font());
        EXPECT_EQ(skinner::fonts_in_use(), before + 2);
        a.set_description(u"11 0 0 0 Tahoma"); // the same entry again
        b = Font(1);
        EXPECT_EQ(skinner::fonts_in_use(), before + 2);
    }
    EXPECT_EQ(skinner::fonts_in_use(), before);
}

TEST(FontReps, MeasuringWithoutAPlatformFontGivesNothing)
{
    Font bad;
    bad.set_description(u"no font here");
    EXPECT_EQ(skinner::measure_text(bad, u"text"), (Size { 0, 0 }));
    EXPECT_EQ(skinner::measure_text(Font(), u"text"), (Size { 0, 0 }));
    Font good;
    good.set_description(u"10 0 0 0 Tahoma");
    const Size empty = skinner::measure_text(good, u"");
    EXPECT_EQ(empty.width, 0);
    EXPECT_GT(empty.height, 0);
    EXPECT_GT(skinner::measure_text(good, u"text").width, 0);
}

// Text drawn with DejaVu Sans under a face name of the test's own.
class TextDrawing : public test::CanvasScreen {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(
            platform::register_font_file(u"Pinned", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
    }

    TextDrawing() { font.set_description(u"9 0 0 0 Pinned"); }

    std::vector<platform::ColorRef> block(const platform::Rect& r) const
    {
        std::vector<platform::ColorRef> out;
        for (std::int32_t y = r.top; y < r.bottom; ++y)
            for (std::int32_t x = r.left; x < r.right; ++x)
                out.push_back(pixel(x, y));
        return out;
    }

    Font font;
    static constexpr skinner::Color ink_color { 20, 20, 20, 0 };
};

TEST_F(TextDrawing, AlignedInsideTheRectangle)
{
    const platform::Rect box { 20, 20, 140, 60 };
    for (std::int32_t h = 0; h < 3; ++h)
        for (std::int32_t v = 0; v < 3; ++v) {
            SCOPED_TRACE(testing::Message() << h << "," << v);
            draw([&](Canvas& c) {
                platform::DeviceContext& dc = c.dc();
                dc.set_text_color(platform::rgb(1, 2, 3));
                const int mode = dc.background_mode();
                c.draw_text(
                    font, ink_color, u"Aligned", { box.left, box.top }, { box.width(), box.height() }, h, v);
                EXPECT_EQ(dc.text_color(), platform::rgb(1, 2, 3));
                EXPECT_EQ(dc.background_mode(), mode);
                EXPECT_EQ(dc.selected_font(), nullptr);
            });
            const platform::Rect drawn = ink();
            ASSERT_FALSE(drawn.empty());
            EXPECT_EQ(drawn.intersect(box), drawn);
            const std::int32_t gaps[][2] = { { drawn.left - box.left, box.right - drawn.right },
                { drawn.top - box.top, box.bottom - drawn.bottom } };
            for (int axis = 0; axis < 2; ++axis) {
                const std::int32_t index = axis == 0 ? h : v, near = gaps[axis][0], far = gaps[axis][1];
                if (index == 0)
                    EXPECT_LT(near, far / 4) << axis;
                else if (index == 2)
                    EXPECT_LT(far, near / 4) << axis;
                else
                    EXPECT_LE(std::abs(near - far), 4) << axis;
            }
        }
    // An index beyond the table counts as left and top.
    draw([&](Canvas& c) { c.draw_text(font, ink_color, u"Aligned", { 20, 20 }, { 120, 40 }, 7, -1); });
    const platform::Rect odd = ink();
    draw([&](Canvas& c) { c.draw_text(font, ink_color, u"Aligned", { 20, 20 }, { 120, 40 }, 0, 0); });
    EXPECT_EQ(ink(), odd);
}

TEST_F(TextDrawing, NothingWithoutAFontOrText)
{
    Font bad;
    bad.set_description(u"14 1 0 0");
    draw([&](Canvas& c) {
        c.draw_text(bad, ink_color, u"text", { 0, 0 }, { 200, 30 }, 0, 0);
        c.draw_text_ellipsis(Font(), ink_color, u"text", { 0, 0 }, { 200, 30 }, 0, 0);
        c.draw_text_ellipsis(font, ink_color, u"", { 0, 0 }, { 200, 30 }, 0, 0);
        c.draw_text_ellipsis_start(font, ink_color, u"", { 0, 0 }, { 0, 30 }, 0, 0);
    });
    EXPECT_EQ(ink(), platform::Rect {});
}

// Over a table of widths, each end: the longest part of the text that fits
// beside the ellipsis, found here by walking every length, and nothing
// outside the box.
TEST_F(TextDrawing, EllipsisAtEitherEndOverATableOfWidths)
{
    const std::u16string text = u"Orvanta plays a rather long title.mp3";
    const std::int32_t full = skinner::measure_text(font, text).width;
    const std::int32_t dots = skinner::measure_text(font, u"\u2026").width;
    ASSERT_GT(dots, 1);
    const std::int32_t widths[]
        = { 0, 1, dots - 1, dots, dots + 1, dots + 7, full / 2, full - 1, full, full + 1, full * 2 };
    for (bool at_start : { false, true })
        for (std::int32_t width : widths) {
            SCOPED_TRACE(testing::Message() << (at_start ? "start, " : "end, ") << width);
            std::u16string expected = text;
            if (full >= width) {
                std::size_t keep = text.size();
                const auto part = [&](std::size_t n) {
                    return at_start ? text.substr(text.size() - n) : text.substr(0, n);
                };
                while (keep > 0 && skinner::measure_text(font, part(keep)).width + dots >= width)
                    --keep;
                expected = at_start ? u"\u2026" + part(keep) : part(keep) + u"\u2026";
            }
            const platform::Rect box { 30, 10, 30 + width, 30 };
            draw([&](Canvas& c) {
                const Point at { box.left, box.top };
                const Size size { width, box.height() };
                if (at_start)
                    c.draw_text_ellipsis_start(font, ink_color, text, at, size, 2, 1);
                else
                    c.draw_text_ellipsis(font, ink_color, text, at, size, 0, 1);
            });
            const platform::Rect drawn = ink();
            EXPECT_EQ(drawn.intersect(box), drawn);
            const std::vector<platform::ColorRef> shown = block(box);
            draw([&](Canvas& c) {
                c.draw_text(font, ink_color, expected, { box.left, box.top }, { width, box.height() },
                    at_start ? 2 : 0, 1);
            });
            EXPECT_EQ(block(box), shown);
        }
}

TEST_F(TextDrawing, ATextAsWideAsTheBoxIsShortenedAndANarrowerOneIsNot)
{
    const std::u16string text = u"exactly";
    const std::int32_t full = skinner::measure_text(font, text).width;
    const platform::Rect box { 10, 10, 10 + full, 30 };
    draw([&](Canvas& c) { c.draw_text(font, ink_color, text, { 10, 10 }, { full, 20 }, 0, 1); });
    const auto plain = block(box);
    draw([&](Canvas& c) { c.draw_text_ellipsis(font, ink_color, text, { 10, 10 }, { full, 20 }, 0, 1); });
    EXPECT_NE(block(box), plain);
    draw([&](Canvas& c) {
        c.draw_text_ellipsis_start(font, ink_color, text, { 10, 10 }, { full + 1, 20 }, 0, 1);
    });
    EXPECT_EQ(block(box), plain);
}

}
