#include "app/controls/ControlEqualizer.h"
#include "app/panels/PanelEqualizer.h"
#include "tests/app/panels/PanelScreen.h"
#include "tests/support/Screenshot.h"

#include <limits>
#include <string>

namespace {

using test::PanelScreen;

// Bands at the settings' default frequencies (200, 400 and 800 Hz), flat
// and narrow, all switched on. The default skin's chart lies at (4, 68) of
// the form, 232 x 132: 6 pixels up to 20 Hz, then 22 pixels an octave; the
// mid line is 66 pixels down. Centre handles 11 x 11, side handles 7 wide.
class EqualizerPanel : public PanelScreen {
protected:
    void SetUp() override
    {
        open();
        for (EqualizerBand& band : document->get_settings().equalizer)
            band.active = true;
    }

    static skinner::Point at(std::int32_t x, std::int32_t y) { return { 4 + x, 68 + y }; }
};

TEST_F(EqualizerPanel, DraggingAHandleSetsItsBandAndTheDocumentsFilter)
{
    enum class Handle { centre, left, right };

    struct Case {
        const char* what;
        int band;
        Handle handle;
        skinner::Point to; // chart offset for the centre, pixels moved for a side
        double frequency;
        double gain;
        double width;
    };

    // Band centres stand at x 79, 101 and 123, at y 66.
    const Case cases[] {
        { "onto the base frequency, half way up", 0, Handle::centre, { 6, 33 }, 20, 10, 0 },
        { "one octave up, top edge", 1, Handle::centre, { 28, 0 }, 40, 20, 0 },
        { "below the base: linear to 0 Hz", 2, Handle::centre, { 3, 132 }, 10, -20, 0 },
        { "past the corner: clamped to the chart", 0, Handle::centre, { 235, 182 }, 24741, -20, 0 },
        { "right side out by its width", 1, Handle::right, { 7, 0 }, 400, 0, 1.0 },
        { "left side out to the most", 2, Handle::left, { -14, 0 }, 800, 0, 2.0 },
        { "left side out past the most", 2, Handle::left, { -40, 0 }, 800, 0, 2.0 },
        { "right side in past the least", 0, Handle::right, { -20, 0 }, 200, 0, 0 },
    };
    const char16_t* names[] { u"Eq1", u"Eq2", u"Eq3" };
    const std::int32_t centres[] { 79, 101, 123 };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        document->get_settings().equalizer = { EqualizerBand(200, 0, 0, true), EqualizerBand(400, 0, 0, true),
            EqualizerBand(800, 0, 0, true) };
        PanelEqualizer panel(*host, u"PanelEqualizer");
        run();
        const skinner::Point grab = at(centres[c.band]
                + (c.handle == Handle::right       ? 7
                        : c.handle == Handle::left ? -7
                                                   : 0),
            66);
        const skinner::Point to
            = c.handle == Handle::centre ? at(c.to.x, c.to.y) : skinner::Point { grab.x + c.to.x, grab.y };
        drag(grab, to);
        run();
        const ControlEqualizer& chart = panel.equalizer();
        EXPECT_EQ(chart.selected_band(), c.band);
        EXPECT_DOUBLE_EQ(chart.get_band_frequency(names[c.band]), c.frequency);
        EXPECT_DOUBLE_EQ(chart.get_band_gain(names[c.band]), c.gain);
        EXPECT_DOUBLE_EQ(chart.get_band_width(names[c.band]), c.width);
        const EqualizerBand& stored = document->get_settings().equalizer[std::size_t(c.band)];
        EXPECT_DOUBLE_EQ(stored.frequency, c.frequency);
        EXPECT_DOUBLE_EQ(stored.gain, c.gain);
        EXPECT_DOUBLE_EQ(stored.width, c.width);
        EXPECT_TRUE(stored.active);
        EXPECT_EQ(document->describe_playback().nodes[1], "eq1") << "the active bands head the play path";
    }
}

TEST_F(EqualizerPanel, SwitchesAddAndRemoveBandsAndTheSettingsKeepTheirValues)
{
    document->get_settings().equalizer = { EqualizerBand(200, 6, 0.5, true), EqualizerBand(400, -3, 1, false),
        EqualizerBand(800, 0, 0, true) };
    PanelEqualizer panel(*host, u"PanelEqualizer");
    run();
    EXPECT_TRUE(panel.equalizer().has_band(u"Eq1"));
    EXPECT_FALSE(panel.equalizer().has_band(u"Eq2"));
    EXPECT_TRUE(child<skinner::ControlCheckBox>(panel, u"chkEq3").is_checked());
    EXPECT_FALSE(child<skinner::ControlCheckBox>(panel, u"chkEq2").is_checked());

    tap(child<skinner::ControlCheckBox>(panel, u"chkEq1"), 50);
    tap(child<skinner::ControlCheckBox>(panel, u"chkEq2"), 50);
    run();
    EXPECT_FALSE(panel.equalizer().has_band(u"Eq1"));
    ASSERT_TRUE(panel.equalizer().has_band(u"Eq2"));
    EXPECT_DOUBLE_EQ(panel.equalizer().get_band_gain(u"Eq2"), -3) << "switched on with the values it kept";
    EXPECT_DOUBLE_EQ(panel.equalizer().get_band_width(u"Eq2"), 1);
    const auto& bands = document->get_settings().equalizer;
    EXPECT_FALSE(bands[0].active);
    EXPECT_DOUBLE_EQ(bands[0].gain, 6) << "a band switched off keeps its values";
    EXPECT_DOUBLE_EQ(bands[0].width, 0.5);
    EXPECT_TRUE(bands[1].active);
    EXPECT_EQ(document->describe_playback().nodes,
        (std::vector<std::string> { "null", "eq2", "eq3", "fast", "stretch", "level", "meter", "player" }));

    tap(child<skinner::ControlCheckBox>(panel, u"chkEq1"), 50);
    run();
    EXPECT_DOUBLE_EQ(panel.equalizer().get_band_gain(u"Eq1"), 6);
    EXPECT_DOUBLE_EQ(panel.equalizer().get_band_width(u"Eq1"), 0.5);
}

TEST_F(EqualizerPanel, OnlyAPressOnAHandleSelectsABand)
{
    PanelEqualizer panel(*host, u"PanelEqualizer");
    run();
    // The second button on a centre handle (the framework's own route for it), then the pen on empty chart.
    panel.equalizer().on_alt_down(at(79, 66), 0);
    EXPECT_EQ(panel.equalizer().selected_band(), -1);
    drag(at(40, 20), at(60, 30));
    run();
    EXPECT_EQ(panel.equalizer().selected_band(), -1);
    EXPECT_TRUE(host->clicks.empty()) << "no drag, no report";
    EXPECT_DOUBLE_EQ(document->get_settings().equalizer[0].frequency, 200);
}

TEST_F(EqualizerPanel, ChartGeometry)
{
    PanelEqualizer panel(*host, u"PanelEqualizer");
    const ControlEqualizer& chart = panel.equalizer();
    EXPECT_EQ(chart.frequency_to_x(20), 6) << "the base frequency stands at the first cell's width";
    EXPECT_EQ(chart.frequency_to_x(10), 3);
    EXPECT_EQ(chart.frequency_to_x(0), 0);
    EXPECT_EQ(chart.frequency_to_x(160), 72);
    EXPECT_EQ(chart.gain_to_y(0), 66);
    EXPECT_EQ(chart.gain_to_y(20), 0);
    EXPECT_EQ(chart.gain_to_y(35), 0) << "beyond the range: at the edge";
    EXPECT_EQ(chart.gain_to_y(-35), 132);
    EXPECT_DOUBLE_EQ(chart.x_to_frequency(-5), 0);
}

TEST_F(EqualizerPanel, WithoutBandsTheCurveIsTheMidLine)
{
    for (EqualizerBand& band : document->get_settings().equalizer)
        band.active = false;
    PanelEqualizer panel(*host, u"PanelEqualizer");
    run();
    for (std::int32_t x = 0; x < 231; ++x)
        ASSERT_EQ(pixel(at(x, 66)), platform::rgb(0x8F, 0xE3, 0xEE)) << x;

    // A band of a name the chart holds takes the old one's place.
    ControlEqualizer& chart = panel.equalizer();
    chart.add_band(u"Eq2", 300, 4, 0.5);
    chart.add_band(u"Eq2", 500, -4, 1.5);
    EXPECT_DOUBLE_EQ(chart.get_band_frequency(u"Eq2"), 500);
    EXPECT_DOUBLE_EQ(chart.get_band_width(u"Eq2"), 1.5);
    EXPECT_TRUE(chart.remove_band(u"Eq2"));
    EXPECT_FALSE(chart.remove_band(u"Eq2")) << "only one was there";
    EXPECT_DOUBLE_EQ(chart.get_band_gain(u"Eq2"), 0);
}

TEST_F(EqualizerPanel, SettingsFarOutsideTheChartStillDraw)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    document->get_settings().equalizer = { EqualizerBand(1e300, -1e300, 1e300, true),
        EqualizerBand(-1e300, nan, -5, true), EqualizerBand(nan, 1e-300, nan, true) };
    PanelEqualizer panel(*host, u"PanelEqualizer");
    run();
    screen->tap(on_screen(at(0, 66)), 50);
    run();
    EXPECT_DOUBLE_EQ(panel.equalizer().get_band_frequency(u"Eq1"), 1e300) << "drawn, not changed";
}

TEST_F(EqualizerPanel, AGainBeyondTheRangeIsDrawnAtTheEdgeAndKept)
{
    document->get_settings().equalizer = { EqualizerBand(200, 35, 0, true), EqualizerBand(400, 0, 5, false),
        EqualizerBand(800, 0, 0, false) };
    PanelEqualizer panel(*host, u"PanelEqualizer");
    run();
    // The centre handle stands on the top edge, half of it off the chart: a tap on it reports a drag.
    screen->tap(on_screen(at(79, 3)), 50);
    run();
    EXPECT_EQ(panel.equalizer().selected_band(), 0);
    EXPECT_EQ(host->clicks, std::vector<std::u16string> {}) << "the panel takes the report";
    EXPECT_DOUBLE_EQ(document->get_settings().equalizer[0].gain, 35) << "the gain keeps its value";
    EXPECT_TRUE(document->get_settings().equalizer[0].active);
}

// Each panel of the main form as the user sees it, at both scales.
class EqualizerLooks : public PanelScreen, public ::testing::WithParamInterface<int> {
protected:
    EqualizerLooks()
        : PanelScreen(GetParam())
    {
    }
};

TEST_P(EqualizerLooks, ThreeBandsWithTheirCurve)
{
    open();
    document->get_settings().equalizer = { EqualizerBand(100, 8, 0.4, true),
        EqualizerBand(1000, -12, 1.2, true), EqualizerBand(6000, 4, 2, true) };
    PanelEqualizer panel(*host, u"PanelEqualizer");
    run();
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), "app-equalizer-x" + std::to_string(GetParam())));
}

INSTANTIATE_TEST_SUITE_P(Scales, EqualizerLooks, ::testing::Values(1, 2));

}

namespace {

// Charts whose skin gives no frequency base (0, or no key at all and no cell
// width): no position can be turned into a frequency or back.
class ChartWithoutBase : public PanelScreen, public ::testing::WithParamInterface<const char16_t*> {
protected:
    ChartWithoutBase()
        : PanelScreen(1, platform::from_utf8(ORVANTA_PANELS_SKIN))
    {
    }
};

TEST_P(ChartWithoutBase, StaysFlatAndKeepsItsBands)
{
    open(u"Host");
    ControlEqualizer chart(*host, GetParam());
    chart.add_band(u"Eq1", 200, 10, 1);
    chart.add_band(u"Eq2", 0, 0, 0); // 0 / 0 would put it at the left edge
    run();
    const auto [left, top] = chart.position();
    const auto [w, h] = chart.size();
    for (std::int32_t x = left; x < left + w - 1; ++x)
        ASSERT_EQ(pixel({ x, top + h / 2 }), platform::rgb(0, 255, 255)) << "the mid line at x " << x;
    for (std::int32_t y = top; y < top + h; ++y) {
        for (std::int32_t x = left; x < left + w; ++x) {
            const platform::ColorRef seen = pixel({ x, y });
            ASSERT_NE(seen, platform::rgb(255, 0, 255)) << "no band's width bar";
            ASSERT_FALSE(test::red(seen) > 200 && test::green(seen) < 50) << "no band's icon";
        }
    }
    // Wherever a band could stand, a drag changes nothing.
    for (const skinner::Point from :
        { skinner::Point { left, top + h / 2 }, chart.position(), test::centre(chart) })
        drag(from, { from.x + 30, from.y + 10 });
    run();
    EXPECT_EQ(chart.selected_band(), -1);
    EXPECT_DOUBLE_EQ(chart.get_band_frequency(u"Eq1"), 200);
    EXPECT_DOUBLE_EQ(chart.get_band_gain(u"Eq1"), 10);
    EXPECT_DOUBLE_EQ(chart.get_band_width(u"Eq1"), 1);
    EXPECT_DOUBLE_EQ(chart.get_band_frequency(u"Eq2"), 0);
    EXPECT_DOUBLE_EQ(chart.get_band_gain(u"Eq2"), 0);
    EXPECT_EQ(chart.frequency_to_x(200), 0);
    EXPECT_DOUBLE_EQ(chart.x_to_frequency(50), 0);
}

INSTANTIATE_TEST_SUITE_P(Skins, ChartWithoutBase, ::testing::Values(u"eqZeroBase", u"eqNoBase"));

}
