#include "platform/ui/DeviceContext.h"
#include "platform/ui/Font.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

constexpr char dejavu[] = "/usr/share/fonts/truetype/dejavu/";

// Text tests draw with DejaVu Sans under a face name of their own, so they do
// not depend on the fonts the machine has.
class Text : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        std::string dir = dejavu;
        ASSERT_TRUE(register_font_file(u"Pinned", dir + "DejaVuSans.ttf"));
        ASSERT_TRUE(register_font_file(u"Pinned", dir + "DejaVuSans-Bold.ttf", true, false));
        ASSERT_TRUE(register_font_file(u"Pinned", dir + "DejaVuSans-Oblique.ttf", false, true));
        ASSERT_TRUE(register_font_file(u"Pinned", dir + "DejaVuSans-BoldOblique.ttf", true, true));
    }

    static std::unique_ptr<Font> pinned(std::int32_t height, bool bold = false, bool italic = false, bool underline = false)
    {
        return Font::create({ height, bold ? 700 : 400, italic, underline, u"Pinned" });
    }
};

struct Surface {
    explicit Surface(Size size = { 400, 100 })
        : bitmap(Bitmap::create(size.width, size.height))
        , dc(DeviceContext::memory())
    {
        bitmap->fill(0x00FFFFFF);
        dc.select_bitmap(bitmap.get());
        dc.set_background_mode(transparent_background);
    }
    // The bounding box of every pixel that is not white.
    Rect ink() const
    {
        Rect box;
        for (int y = 0; y < bitmap->height(); ++y)
            for (int x = 0; x < bitmap->width(); ++x)
                if (bitmap->at(x, y) != 0x00FFFFFF)
                    box = box.unite({ x, y, x + 1, y + 1 });
        return box;
    }
    std::unique_ptr<Bitmap> bitmap;
    DeviceContext dc;
};

TEST_F(Text, MeasuredBoxHoldsTheDrawnInkTightly)
{
    const std::u16string strings[] = { u"Hello", u"Wavy jig", u"fj", u"1:23:45", u"AVATAR", u"\u00c9t\u00e9 \u00e0 la plage" };
    struct Style {
        std::int32_t height;
        bool bold, italic;
    };
    const Style styles[] = { { -10, false, false }, { -18, false, false }, { -18, true, false }, { -18, false, true },
        { -28, true, true }, { 20, false, false } };
    for (auto& style : styles) {
        auto font = pinned(style.height, style.bold, style.italic);
        ASSERT_NE(font, nullptr);
        for (auto& text : strings) {
            SCOPED_TRACE(::testing::Message() << style.height << " " << style.bold << style.italic << " " << text.size());
            Surface s;
            s.dc.select_font(font.get());
            Rect measured { 10, 10, 11, 11 };
            int height = s.dc.draw_text(text, measured, dt::calc_rect | dt::no_prefix | dt::single_line);
            EXPECT_EQ(height, font->line_height());
            EXPECT_EQ(measured.height(), height);
            EXPECT_EQ(s.dc.text_extent(text), measured.size());
            Rect box = measured;
            s.dc.draw_text(text, box, dt::no_prefix | dt::single_line | dt::no_clip);
            Rect ink = s.ink();
            EXPECT_EQ(ink.unite(measured), measured) << "ink leaves the measured box";
            // Only side bearings lie between the ink and the box.
            std::int32_t bearing = std::abs(style.height) / 8 + 1;
            EXPECT_LE(ink.left - measured.left, bearing);
            EXPECT_LE(measured.right - ink.right, bearing);
        }
    }
}

TEST_F(Text, PrefixWidthsAreTheWidthsOfEachStart)
{
    auto font = pinned(-18, false, true);
    ASSERT_NE(font, nullptr);
    Surface s;
    s.dc.select_font(font.get());
    // Italic overhangs, a pair of surrogates (its first unit measures as the text before it).
    const std::u16string text = u"fjW \U0001D11Ex";
    const std::vector<std::int32_t> widths = s.dc.text_prefix_widths(text);
    ASSERT_EQ(widths.size(), text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool high_half = i + 1 < text.size() && text[i] >= 0xD800 && text[i] < 0xDC00;
        const std::size_t measured = high_half ? i : i + 1;
        EXPECT_EQ(widths[i], s.dc.text_extent(std::u16string_view(text).substr(0, measured)).width) << i;
    }
    EXPECT_TRUE(s.dc.text_prefix_widths(u"").empty());
}

TEST_F(Text, EllipsisNeverOverflowsItsBox)
{
    auto font = pinned(-16);
    const std::u16string text = u"A long title that does not fit";
    Surface probe;
    probe.dc.select_font(font.get());
    std::int32_t full = probe.dc.text_extent(text).width;
    for (std::int32_t width = 0; width <= full + 4; width += 3) {
        SCOPED_TRACE(width);
        Surface s;
        s.dc.select_font(font.get());
        Rect box { 10, 10, 10 + width, 40 };
        s.dc.draw_text(text, box, dt::single_line | dt::no_clip | dt::end_ellipsis | dt::no_prefix);
        Rect ink = s.ink();
        if (!ink.empty()) {
            EXPECT_GE(ink.left, 10);
            EXPECT_LE(ink.right, 10 + width);
        }
    }
    // Exactly as wide as the text: drawn whole.
    Surface exact, plain;
    for (auto* s : { &exact, &plain })
        s->dc.select_font(font.get());
    Rect a { 10, 10, 10 + full, 40 }, b = a;
    exact.dc.draw_text(text, a, dt::single_line | dt::end_ellipsis);
    plain.dc.draw_text(text, b, dt::single_line);
    EXPECT_TRUE(std::equal(exact.bitmap->pixels().begin(), exact.bitmap->pixels().end(), plain.bitmap->pixels().begin()));
}

TEST_F(Text, AlignmentPlacesTheLineInItsRectangle)
{
    auto font = pinned(-14);
    Surface probe;
    probe.dc.select_font(font.get());
    Size extent = probe.dc.text_extent(u"Mid");
    struct Case {
        std::uint32_t flags;
        Point top_left;
    };
    const Rect r { 20, 10, 220, 90 };
    const Case cases[] = {
        { dt::left | dt::top, { 20, 10 } },
        { dt::center | dt::vcenter, { 20 + (200 - extent.width) / 2, 10 + (80 - extent.height) / 2 } },
        { dt::right | dt::bottom, { 220 - extent.width, 90 - extent.height } },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.flags);
        Surface s;
        s.dc.select_font(font.get());
        s.dc.set_background_mode(opaque_background);
        s.dc.set_background_color(rgb(0, 0, 0));
        Rect box = r;
        s.dc.draw_text(u"Mid", box, c.flags | dt::single_line);
        // In opaque mode the whole measured box is painted.
        EXPECT_EQ(s.ink(), Rect::from(c.top_left, extent));
    }
}

TEST_F(Text, LinesPrefixesAndUnderline)
{
    auto font = pinned(-14);
    Surface s;
    s.dc.select_font(font.get());
    Rect box { 0, 0, 1, 1 };
    EXPECT_EQ(s.dc.draw_text(u"one\r\ntwo", box, dt::calc_rect | dt::no_prefix), 2 * font->line_height());
    Rect amp { 0, 0, 1, 1 }, plain { 0, 0, 1, 1 };
    s.dc.draw_text(u"&File", amp, dt::calc_rect | dt::single_line);
    s.dc.draw_text(u"File", plain, dt::calc_rect | dt::single_line);
    EXPECT_EQ(amp, plain);
    Rect empty { 5, 5, 6, 6 };
    EXPECT_EQ(s.dc.draw_text(u"", empty, dt::calc_rect | dt::no_prefix | dt::vcenter), font->line_height());
    EXPECT_EQ(empty.width(), 0);

    auto underlined = pinned(-14, false, false, true);
    Surface u;
    u.dc.select_font(underlined.get());
    Rect line { 10, 10, 300, 60 };
    u.dc.draw_text(u"under", line, dt::single_line | dt::no_prefix);
    Surface n;
    n.dc.select_font(font.get());
    Rect line2 = { 10, 10, 300, 60 };
    n.dc.draw_text(u"under", line2, dt::single_line | dt::no_prefix);
    EXPECT_GT(u.ink().bottom, n.ink().bottom);
    EXPECT_LE(u.ink().bottom, 10 + underlined->line_height());
}

TEST_F(Text, AntialiasedEdgesMixOnlyTextAndBackground)
{
    for (ColorRef color : { rgb(0, 0, 255), rgb(255, 128, 0) }) {
        auto font = pinned(-15);
        Surface s;
        s.bitmap->fill(0x00204060);
        s.dc.select_font(font.get());
        s.dc.set_text_color(color);
        Rect box { 2, 2, 300, 40 };
        s.dc.draw_text(u"Smooth edges", box, dt::single_line);
        Pixel text = pixel_of(color);
        int partial = 0;
        for (Pixel p : s.bitmap->pixels()) {
            if (p == 0x00204060 || p == text)
                continue;
            ++partial;
            // Each channel lies between the background's and the text's.
            for (int shift : { 0, 8, 16 }) {
                int c = p >> shift & 0xFF, lo = 0x204060 >> shift & 0xFF, hi = text >> shift & 0xFF;
                EXPECT_GE(c, std::min(lo, hi));
                EXPECT_LE(c, std::max(lo, hi));
            }
        }
        EXPECT_GT(partial, 0);
    }
}

TEST(Fonts, FacesComeFromFontconfigWithAFallback)
{
    auto tahoma = Font::create({ -14, 400, false, false, u"tahoma" });
    ASSERT_NE(tahoma, nullptr);
    EXPECT_EQ(tahoma->family(), "Tahoma");
    // A missing style is made from the regular outline: the italic leans.
    auto upright = Font::create({ -20, 400, false, false, u"Tahoma" });
    auto leaning = Font::create({ -20, 400, true, false, u"Tahoma" });
    EXPECT_GT(leaning->glyph(U'l').width, upright->glyph(U'l').width);
    auto missing = Font::create({ -14, 700, true, false, u"No Such Face 42" });
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->family(), "DejaVu Sans");
    EXPECT_EQ(Font::create({ 5000, 400, false, false, u"Tahoma" }), nullptr);
    EXPECT_EQ(Font::create({ -5000, 400, false, false, u"Tahoma" }), nullptr);
    // A pixel height of 18 is the em: the cell is taller; a positive height is the cell.
    auto em = Font::create({ -18, 400, false, false, u"Tahoma" });
    auto cell = Font::create({ 18, 400, false, false, u"Tahoma" });
    EXPECT_GT(em->line_height(), 18);
    EXPECT_NEAR(cell->line_height(), 18, 1);
    EXPECT_FALSE(register_font_file(u"Broken", "/nonexistent.ttf"));
}

}
