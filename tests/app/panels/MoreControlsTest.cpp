#include "app/panels/PanelMoreControls.h"
#include "platform/media/headless/ScriptedWaveDriver.h"
#include "platform/ui/Input.h"
#include "tests/app/panels/PanelScreen.h"
#include "tests/audio/CodecFiles.h"
#include "tests/support/Screenshot.h"

namespace {

using skinner::ControlCheckBox;
using skinner::ControlComboBoxStringReadonly;
using skinner::ControlProgress;
using test::PanelScreen;

const Document::Changes state_change { false, false, true, false };

class MoreControlsPanel : public PanelScreen {
protected:
    void SetUp() override
    {
        open();
        panel = std::make_unique<PanelMoreControls>(*host, u"PanelMoreControls");
        document->notify(state_change);
        run();
    }

    void TearDown() override
    {
        panel.reset();
        host.reset();
        document.reset();
    }

    ControlProgress& slider() { return child<ControlProgress>(*panel, u"pbPlaybackSpeed"); }

    ControlCheckBox& pitch_lock() { return child<ControlCheckBox>(*panel, u"chkTone"); }

    ControlComboBoxStringReadonly& selector(std::u16string_view id)
    {
        return child<ControlComboBoxStringReadonly>(*panel, id);
    }

    std::unique_ptr<PanelMoreControls> panel;
    platform::ScopedService<platform::WaveDriver, platform::headless::ScriptedWaveDriver> driver {
        platform::wave_driver_slot()
    };
};

TEST_F(MoreControlsPanel, TheSliderSpansHalfToDoubleSpeedAndSnapsToNormal)
{
    struct Case {
        double value;
        bool pitch_lock;
        double speed;
    };

    const Case cases[] {
        { 1.0 / 3, false, 1.0 },
        { 0.32, false, 1.0 }, // 0.98
        { 0.36, false, 1.0 }, // 1.04
        { 0.37, false, 1.055 },
        { 0.2, false, 0.8 },
        { 0.0, false, 0.5 },
        { 1.0, false, 2.0 },
        { 0.6, false, 1.4 },
        // With the pitch kept, only normal and half speed play.
        { 0.6, true, 1.0 },
        { 0.1, true, 0.5 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        pitch_lock().set_checked(c.pitch_lock);
        panel->on_value_changed(slider(), c.value);
        EXPECT_NEAR(document->get_speed(), c.speed, 1e-12);
        EXPECT_NEAR(slider().value(), PanelMoreControls::speed_to_value(c.speed), 1e-12) << "shown back";
        EXPECT_EQ(document->get_settings().pitch_lock, c.pitch_lock);
    }
    EXPECT_DOUBLE_EQ(PanelMoreControls::value_to_speed(PanelMoreControls::speed_to_value(1.7)), 1.7);
}

TEST_F(MoreControlsPanel, ThePitchLockAppliesToTheSpeedInForce)
{
    panel->on_value_changed(slider(), 0.6);
    ASSERT_DOUBLE_EQ(document->get_speed(), 1.4);
    tap(pitch_lock(), 50);
    run();
    EXPECT_TRUE(document->get_settings().pitch_lock);
    EXPECT_DOUBLE_EQ(document->get_speed(), 1.0);
    EXPECT_TRUE(pitch_lock().is_checked());
}

TEST_F(MoreControlsPanel, SelectorsShowTheStoredLevels)
{
    ASSERT_EQ(
        selector(u"cmbNoise").items, (std::vector<std::u16string> { u"Off", u"Low", u"Medium", u"High" }));
    Settings& s = document->get_settings();
    s.noise = 7; // beyond the items: the last one
    s.limiter = 2;
    s.booster = 0;
    document->notify(state_change);
    EXPECT_EQ(selector(u"cmbNoise").get_current(), 3);
    EXPECT_EQ(selector(u"cmbNoise").face().text(), u"High");
    EXPECT_EQ(selector(u"cmbLimiter").get_current(), 2);
    EXPECT_EQ(selector(u"cmbBooster").get_current(), 0);
}

TEST_F(MoreControlsPanel, ALevelChosenInTheDropDownIsStoredAndSaved)
{
    host->set_active(true);
    run();
    const ControlComboBoxStringReadonly& noise = selector(u"cmbNoise");
    screen
        ->tap(on_screen(
            { noise.position().x + noise.size().width - 4, noise.position().y + noise.size().height / 2 }))
        .key(platform::vk::down, 100)
        .key(platform::vk::down, 10)
        .key(platform::vk::enter, 10);
    run();
    EXPECT_EQ(document->get_settings().noise, 2);
    EXPECT_NE(test::read_file(dir.file("Orvanta.xml")).find("Noise"), std::string::npos);
}

TEST_F(MoreControlsPanel, TheSliderRestsWhileRecording)
{
    Settings& s = document->get_settings();
    s.codec = u"PCM";
    s.channels = 1;
    s.bits = 16;
    s.samples = 8000;
    ASSERT_TRUE(document->record(test::u16(dir.path())));
    document->notify(state_change);
    EXPECT_FALSE(slider().own_enabled());
    document->stop();
    document->notify(state_change);
    EXPECT_TRUE(slider().own_enabled());
}

TEST_F(MoreControlsPanel, ANewLanguageRefillsTheSelectors)
{
    const std::string language = dir.write("Other.lng",
        "DynamicProcessorOff Aus\nDynamicProcessorLow Wenig\nDynamicProcessorMedium Mittel\n"
        "DynamicProcessorHigh Viel\n");
    ASSERT_TRUE(skin_store.load_skin_and_language(
        test::program_file("skins/Default/Default.skin"), test::u16(language), { 240, 320 }));
    host->reload_skin();
    EXPECT_EQ(selector(u"cmbLimiter").items,
        (std::vector<std::u16string> { u"Aus", u"Wenig", u"Mittel", u"Viel" }));
    EXPECT_EQ(selector(u"cmbLimiter").face().text(), u"Aus");
}

class MoreControlsLooks : public PanelScreen, public ::testing::WithParamInterface<int> {
protected:
    MoreControlsLooks()
        : PanelScreen(GetParam())
    {
    }
};

TEST_P(MoreControlsLooks, SpeedPitchLockAndLevels)
{
    open();
    {
        PanelMoreControls panel(*host, u"PanelMoreControls");
        Settings& s = document->get_settings();
        s.noise = 1;
        s.limiter = 2;
        s.booster = 3;
        document->set_speed(1.5, false);
        document->notify(Document::Changes { true, true, true, true });
        run();
        EXPECT_TRUE(
            test::matches_screenshot(screen->shown(), "app-more-controls-x" + std::to_string(GetParam())));
    }
    document.reset();
}

INSTANTIATE_TEST_SUITE_P(Scales, MoreControlsLooks, ::testing::Values(1, 2));

}
