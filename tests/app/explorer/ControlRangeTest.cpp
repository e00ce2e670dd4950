#include "app/explorer/ControlRange.h"

#include "app/explorer/RangeGrid.h"
#include "tests/dialogs/DialogScreen.h"

#include <memory>

namespace {

// The bookmarks form's strip, 232 pixels wide at x 4, over the segments of
// the selected rows of its grid.
class RangeStrip : public test::DialogScreen {
protected:
    RangeStrip()
    {
        main_skin.load_skin_and_language(test::program_file("skins/Default/Default.skin"),
            test::program_file("English.lng"), { 240, 320 });
    }

    // The columns, from one left of the strip to one right of it, where the
    // strip shows a segment over what it shows with nothing selected.
    std::vector<std::int32_t> segments(
        std::int64_t total, const std::vector<std::pair<std::int64_t, std::int64_t>>& rows)
    {
        skinner::Form form(nullptr, main_skin, u"Bookmarks");
        RangeGrid grid(form, u"grdBookmarks");
        ControlRange strip(form, u"Range", skinner::ControlMode::named, grid, total);
        for (const auto& [start, length] : rows)
            grid.items.push_back({ start, length, u"", u"", u"", true });
        grid.refresh();
        run();
        const std::int32_t y = strip.position().y + strip.size().height / 2;
        std::vector<platform::ColorRef> plain;
        for (std::int32_t x = 3; x <= 4 + 232; ++x)
            plain.push_back(screen->pixel(on_screen(form, { x, y })));
        grid.select_range(0, std::int32_t(rows.size()) - 1);
        strip.invalidate();
        run();
        std::vector<std::int32_t> columns;
        for (std::int32_t x = 3; x <= 4 + 232; ++x)
            if (screen->pixel(on_screen(form, { x, y })) != plain[std::size_t(x - 3)])
                columns.push_back(x);
        return columns;
    }

    static std::vector<std::int32_t> span(std::int32_t first, std::int32_t last)
    {
        std::vector<std::int32_t> columns;
        for (std::int32_t x = first; x <= last; ++x)
            columns.push_back(x);
        return columns;
    }

    skinner::Properties main_skin;
};

TEST_F(RangeStrip, SegmentsByTheirShareOfTheTotal)
{
    EXPECT_EQ(segments(1000, { { 0, 1000 } }), span(4, 235)) << "the whole recording: the whole strip";
    EXPECT_EQ(segments(1000, { { 500, 500 } }), span(120, 235)) << "to the right edge, not past it";
    EXPECT_EQ(segments(1000, { { 250, 0 } }), span(62, 62)) << "a segment of no length is one pixel";
    EXPECT_EQ(segments(6'000'000'000, { { 3'000'000'000, 1'500'000'000 } }), span(120, 178));
    EXPECT_TRUE(segments(1000, { { 1200, 50 } }).empty()) << "past the end: beyond the strip";
}

TEST_F(RangeStrip, ATotalOfZeroShowsNoSegment)
{
    EXPECT_TRUE(segments(0, { { 0, 0 }, { 10, 20 } }).empty());
    EXPECT_TRUE(segments(-8, { { 0, 4 } }).empty());
}

}
