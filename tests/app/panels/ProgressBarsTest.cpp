#include "app/controls/ControlProgress2Scale.h"
#include "app/controls/ControlProgressBookmarks.h"
#include "model/RangeMarkList.h"
#include "platform/media/headless/ScriptedWaveDriver.h"
#include "tests/app/panels/PanelScreen.h"
#include "tests/audio/CodecFiles.h"
#include "tests/audio/DecodedAudio.h"
#include "tests/support/Tool.h"

namespace {

using test::PanelScreen;

// The main skin's position bar: at (4, 47), 168 x 12, a thumb 10 wide, so
// the fraction f puts the thumb's left edge at 4 + 158 f. Marks are 7 x 5
// at the top of the bar.
class PositionBar : public PanelScreen {
protected:
    void SetUp() override
    {
        open();
        bar = std::make_unique<ControlProgressBookmarks>(*host, u"pbPosition");
    }

    void TearDown() override { bar.reset(); }

    // Each column of the bar's top five rows, where marks stand.
    std::vector<std::vector<platform::ColorRef>> top_row()
    {
        run();
        std::vector<std::vector<platform::ColorRef>> row;
        for (std::int32_t x = 4; x < 4 + 168; ++x) {
            row.emplace_back();
            for (std::int32_t y = 47; y < 47 + 5; ++y)
                row.back().push_back(pixel({ x, y }));
        }
        return row;
    }

    // The columns where the row differs from the bar without marks.
    static std::vector<std::int32_t> changed(const std::vector<std::vector<platform::ColorRef>>& plain,
        const std::vector<std::vector<platform::ColorRef>>& marked)
    {
        std::vector<std::int32_t> columns;
        for (std::size_t i = 0; i < plain.size(); ++i)
            if (plain[i] != marked[i])
                columns.push_back(std::int32_t(4 + i));
        return columns;
    }

    std::unique_ptr<ControlProgressBookmarks> bar;
};

TEST_F(PositionBar, MarksStandAtTheirBookmarksButNotAtTheStart)
{
    bar->set_value(1.0); // the thumb out of the way, at the right end
    const auto plain = top_row();
    RangeMarkList marks;
    marks.insert(0, u"Start", true);
    marks.insert(3'000'000'000, u"Half", true); // positions of 64 bits
    bar->set_marks(6'000'000'000, &marks);
    const auto with_marks = top_row();
    // The thumb at 0.5 would stand at 83..92: the mark is centred on 88.
    const std::vector<std::int32_t> columns = changed(plain, with_marks);
    ASSERT_FALSE(columns.empty());
    EXPECT_GE(columns.front(), 85);
    EXPECT_LE(columns.back(), 91);
    EXPECT_EQ(columns.front() + columns.back(), 2 * 88);

    for (const std::int64_t total : { std::int64_t { 0 }, std::int64_t { -5 } }) {
        bar->set_marks(total, &marks);
        EXPECT_TRUE(changed(plain, top_row()).empty()) << "no marks over a total of " << total;
    }
    bar->set_marks(6'000'000'000, nullptr);
    EXPECT_TRUE(changed(plain, top_row()).empty());
}

TEST_F(PositionBar, ATapOverATotalOfZeroAsksForItsPlace)
{
    RangeMarkList marks;
    marks.insert(100, u"Mark", true);
    bar->set_marks(0, &marks);
    screen->tap(on_screen({ 4 + 5 + 79, 50 }), 50);
    run();
    ASSERT_EQ(host->wishes.size(), 1u);
    EXPECT_DOUBLE_EQ(host->wishes[0].second, 0.5);
    EXPECT_EQ(document->get_position(), 0) << "nothing plays: nothing moves";
}

// A ten-second recording of 8 kHz mono 16-bit samples (16000 bytes a
// second) by sox, playing on the scripted device.
class PositionBarPlaying : public PositionBar, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        if (!test::have_tool("sox"))
            GTEST_SKIP() << "sox is missing";
        PositionBar::SetUp();
        wav = test::make_file(dir, "take.wav",
            { "sox", "-r", "8000", "-n", "-c", "1", "-b", "16", "-e", "signed", "%o", "synth", "10", "sine",
                "440" });
        if (GetParam())
            dir.write("take.wav.bm",
                "<?xml version=\"1.0\"?>\n<Bookmarks>\n"
                "  <Bookmark Name=\"Chorus\" Position=\"96000\" Play=\"true\"/>\n"
                "  <Bookmark Name=\"Intro\" Position=\"32000\" Play=\"true\"/>\n"
                "</Bookmarks>\n");
    }

    // The document's player goes before its device.
    void TearDown() override
    {
        PositionBar::TearDown();
        host.reset();
        document.reset();
    }

    std::string wav;
    platform::ScopedService<platform::WaveDriver, platform::headless::ScriptedWaveDriver> driver {
        platform::wave_driver_slot()
    };
};

TEST_P(PositionBarPlaying, ATapSeeksToItsPlaceInTheWholeFile)
{
    document->set_play_list(test::u16(dir.path()), test::entries({ test::u16(wav) }), 0, false);
    ASSERT_TRUE(document->play_item(0));
    ASSERT_TRUE(driver->wait_for_line("out write 3200", 6)) << "the player has filled its buffers";
    document->pause();
    ASSERT_EQ(document->get_length(), 160000);
    bar->set_marks(document->get_length(), &document->get_bookmarks());
    EXPECT_EQ(document->get_bookmarks().mark_count(), GetParam() ? 2 : 0);

    struct Case {
        std::int32_t x;
        std::int64_t position;
    };

    // The thumb's centre follows the pen: 9 pixels in is the start, 158 further the end.
    // 39 / 158 of 160000 bytes is 39493.6: the reader keeps to whole samples.
    for (const Case c : { Case { 88, 80000 }, Case { 48, 39492 }, Case { 5, 0 }, Case { 171, 160000 } }) {
        SCOPED_TRACE(c.x);
        screen->tap(on_screen({ c.x, 52 }), 50);
        run();
        EXPECT_EQ(document->get_position(), c.position);
    }
}

INSTANTIATE_TEST_SUITE_P(Bookmarks, PositionBarPlaying, ::testing::Values(false, true),
    [](const auto& info) { return info.param ? "WithBookmarks" : "WithoutBookmarks"; });

// Bars of the panels' test skin, in swatches: background yellow, first
// value red, second value blue.
class TwoScaleBar : public PanelScreen {
protected:
    TwoScaleBar()
        : PanelScreen(1, platform::from_utf8(ORVANTA_PANELS_SKIN))
    {
    }

    void SetUp() override { open(u"Host"); }

    // "Y", "R" or "B" for the swatch at the point, "?" for anything else.
    std::string swatch(skinner::Point at)
    {
        const platform::ColorRef c = pixel(at);
        if (test::red(c) > 200 && test::green(c) > 200 && test::blue(c) < 50)
            return "Y";
        if (test::red(c) > 200 && test::green(c) < 50 && test::blue(c) < 50)
            return "R";
        if (test::red(c) < 50 && test::green(c) < 50 && test::blue(c) > 200)
            return "B";
        return "?";
    }
};

TEST_F(TwoScaleBar, TheSecondValueShowsBeyondTheFirstFromTheTop)
{
    ControlProgress2Scale bar(*host, u"pbDownwards"); // at (150, 10), 10 x 100
    bar.set_second_value(0.6);
    bar.set_value(0.3);
    run();
    std::string column;
    for (const std::int32_t y : { 15, 35, 65, 75, 85, 105 })
        column += swatch({ 155, y });
    EXPECT_EQ(column, "BBBYYY");
}

TEST_F(TwoScaleBar, FilledFromTheRightEdgeItShowsItsValueThere)
{
    ControlProgress2Scale bar(*host, u"pbLeftwards"); // at (10, 150), 100 x 10
    bar.set_second_value(0.3);
    bar.set_value(0.6);
    run();
    std::string row;
    for (const std::int32_t x : { 15, 35, 45, 55, 65, 75, 85, 95, 105 })
        row += swatch({ x, 155 });
    // The first value's 0.6 is filled from the right edge: red up to the
    // second value's 0.3, blue beyond it, as an upward bar shows them.
    EXPECT_EQ(row, "YYYBBBRRR");
}

}
