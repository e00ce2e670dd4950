#include "app/controls/ControlProgress2Scale.h"
#include "app/panels/PanelLevels.h"
#include "platform/media/headless/ScriptedWaveDriver.h"
#include "tests/app/panels/PanelScreen.h"
#include "tests/audio/CodecFiles.h"
#include "tests/audio/DecodedAudio.h"
#include "tests/audio/devices/DeviceDoubles.h"
#include "tests/support/Screenshot.h"
#include "tests/support/Tool.h"

namespace {

using skinner::ControlCheckBox;
using skinner::ControlProgress;
using test::PanelScreen;

const Document::Changes state_change { false, false, true, false };
const Document::Changes position_change { false, true, false, false };
const Document::Changes volume_change { false, false, false, true };

class LevelsPanel : public PanelScreen {
protected:
    void SetUp() override
    {
        open();
        panel = std::make_unique<PanelLevels>(*host, u"PanelLevels");
        document->notify(); // what the document raised while it was made
        run();
    }

    void TearDown() override
    {
        panel.reset();
        host.reset();
        document.reset();
    }

    ControlProgress& bar(std::u16string_view id) { return child<ControlProgress>(*panel, id); }

    ControlCheckBox& box(std::u16string_view id) { return child<ControlCheckBox>(*panel, id); }

    std::unique_ptr<PanelLevels> panel;
    // Declared after the panel's owner: the document's player goes first.
    platform::ScopedService<platform::WaveDriver, platform::headless::ScriptedWaveDriver> driver {
        platform::wave_driver_slot()
    };
};

TEST_F(LevelsPanel, SwitchesShowTheNegationOfTheirFunction)
{
    EXPECT_FALSE(box(u"chkOutput").is_checked());
    for (const char16_t* id : { u"chkOutput", u"chkVASInd", u"chkInputInd", u"chkOutputInd" })
        EXPECT_FALSE(box(id).own_enabled()) << platform::to_utf8(id);

    for (const bool on : { true, false, true }) {
        SCOPED_TRACE(on);
        document->set_vas_enabled(on);
        document->notify(state_change);
        EXPECT_EQ(box(u"chkVAS").is_checked(), !on) << "checked means off";
        EXPECT_EQ(box(u"chkVASInd").is_checked(), !on);
        EXPECT_EQ(bar(u"pbVAS").own_enabled(), on) << "the threshold is set only while it counts";
    }
    for (const bool on : { false, true }) {
        SCOPED_TRACE(on);
        document->set_input_enabled(on);
        document->notify(state_change);
        EXPECT_EQ(box(u"chkInput").is_checked(), !on);
        EXPECT_EQ(box(u"chkInputInd").is_checked(), !on);
    }
}

TEST_F(LevelsPanel, TappingASwitchTurnsItsFunctionOver)
{
    document->set_vas_enabled(false);
    document->notify(state_change);
    ASSERT_TRUE(box(u"chkVAS").is_checked());
    tap(box(u"chkVAS"), 50);
    run();
    EXPECT_TRUE(document->is_vas_enabled());
    EXPECT_FALSE(box(u"chkVAS").is_checked());
    EXPECT_FALSE(box(u"chkVASInd").is_checked()) << "the indicator follows";
    tap(box(u"chkVAS"), 50);
    run();
    EXPECT_FALSE(document->is_vas_enabled());
    EXPECT_TRUE(box(u"chkVAS").is_checked());

    ASSERT_FALSE(box(u"chkInput").is_checked()) << "the input is on";
    tap(box(u"chkInput"), 50);
    run();
    EXPECT_FALSE(document->is_input_active());
    EXPECT_TRUE(box(u"chkInput").is_checked());
    tap(box(u"chkInput"), 50);
    run();
    EXPECT_TRUE(document->is_input_active());
}

TEST_F(LevelsPanel, TheInputSliderSnapsToUnityNearItsMiddle)
{
    const std::pair<double, double> cases[] {
        { 0.46, 0.5 },
        { 0.54, 0.5 },
        { 0.45, 0.45 },
        { 0.55, 0.55 },
        { 0.2, 0.2 },
        { 1.0, 1.0 },
    };
    for (const auto& [wanted, set] : cases) {
        panel->on_value_changed(bar(u"pbInput"), wanted);
        EXPECT_DOUBLE_EQ(document->get_input(), set) << wanted;
        EXPECT_DOUBLE_EQ(bar(u"pbInput").value(), set) << "shown at once";
    }
    // By the pen: 70 of the slider's 148 pixels is 0.473.
    const ControlProgress& input = bar(u"pbInput");
    screen->tap(on_screen({ input.position().x + 5 + 70, input.position().y + 6 }), 50);
    run();
    EXPECT_DOUBLE_EQ(document->get_input(), 0.5);
}

TEST_F(LevelsPanel, SlidersSetTheThresholdAndTheVolume)
{
    panel->on_value_changed(bar(u"pbVAS"), 0.3);
    panel->on_value_changed(bar(u"pbOutput"), 0.8);
    EXPECT_DOUBLE_EQ(document->get_vas_threshold(), 0.3);
    EXPECT_DOUBLE_EQ(document->get_volume(), 0.8);
    EXPECT_DOUBLE_EQ(bar(u"pbVAS").value(), 0.3);
    EXPECT_DOUBLE_EQ(child<ControlProgress2Scale>(*panel, u"pbVASLeft").second_value(), 0.3);
    EXPECT_DOUBLE_EQ(child<ControlProgress2Scale>(*panel, u"pbVASRight").second_value(), 0.3);
    EXPECT_DOUBLE_EQ(bar(u"pbOutput").value(), 0.8);
}

TEST_F(LevelsPanel, AVolumeChangeTouchesOnlyTheVolume)
{
    document->set_volume(0.25);
    document->get_settings().vas = 0.9; // behind the document's back: no flag raised
    document->notify(volume_change);
    EXPECT_DOUBLE_EQ(bar(u"pbOutput").value(), 0.25);
    EXPECT_NE(bar(u"pbVAS").value(), 0.9);
    document->notify(position_change);
    EXPECT_DOUBLE_EQ(bar(u"pbVAS").value(), 0.9);
}

// 16-bit mono samples at 8000 Hz from sox, a tone whose peaks reach the volume.
std::vector<std::uint8_t> captured(double volume)
{
    const std::string raw = test::tool({ "sox", "-n", "-r", "8000", "-b", "16", "-c", "1", "-e", "signed",
        "-t", "raw", "-", "synth", "1", "sine", "440", "vol", std::to_string(volume) });
    return std::vector<std::uint8_t>(raw.begin(), raw.end());
}

TEST_F(LevelsPanel, MetersFollowTheRecordedSignal)
{
    if (!test::have_tool("sox"))
        GTEST_SKIP() << "sox makes the signal";
    Settings& s = document->get_settings();
    s.codec = u"PCM";
    s.channels = 1;
    s.bits = 16;
    s.samples = 8000;
    document->set_vas_enabled(true);
    document->set_vas_threshold(0.25);
    ASSERT_TRUE(document->record(test::u16(dir.path())));
    document->notify(state_change);
    EXPECT_FALSE(box(u"chkInput").is_checked()) << "recording: the input is on";

    for (const double volume : { 0.5, 0.125 }) {
        SCOPED_TRACE(volume);
        ASSERT_TRUE(driver->capture(captured(volume)));
        ASSERT_TRUE(test::eventually([&] { return std::abs(document->get_input_level(0) - volume) < 0.01; }));
        document->notify(position_change);
        for (const char16_t* id : { u"pbInputLeft", u"pbInputRight", u"pbVASLeft", u"pbVASRight" })
            EXPECT_NEAR(bar(id).value(), volume, 0.01) << platform::to_utf8(id);
        EXPECT_DOUBLE_EQ(bar(u"pbOutputLeft").value(), 0) << "nothing plays";
        EXPECT_DOUBLE_EQ(child<ControlProgress2Scale>(*panel, u"pbVASLeft").second_value(), 0.25);
    }

    // Voice activation off: its meters stand at 0 while the input meters go on.
    tap(box(u"chkVAS"), 50);
    run();
    EXPECT_FALSE(document->is_vas_enabled());
    EXPECT_DOUBLE_EQ(bar(u"pbVASLeft").value(), 0);
    EXPECT_NEAR(bar(u"pbInputLeft").value(), 0.125, 0.01);
    EXPECT_FALSE(bar(u"pbVAS").own_enabled());
    document->stop();
}

TEST_F(LevelsPanel, MetersFollowThePlayedSignal)
{
    if (!test::have_tool("sox"))
        GTEST_SKIP() << "sox makes the file";
    const std::string wav = test::make_file(dir, "tone.wav",
        { "sox", "-n", "-r", "8000", "-b", "16", "-c", "2", "%o", "synth", "2", "sine", "440", "vol",
            "0.25" });
    document->set_play_list(test::u16(dir.path()), test::entries({ test::u16(wav) }), 0, false);
    ASSERT_TRUE(document->play_item(0));
    ASSERT_TRUE(driver->wait_for_line("out write 6400", 6)) << "the player has queued what it reads ahead";
    document->notify(position_change);
    for (const char16_t* id : { u"pbOutputLeft", u"pbOutputRight" })
        EXPECT_NEAR(bar(id).value(), 0.25, 0.01) << platform::to_utf8(id);
    EXPECT_DOUBLE_EQ(bar(u"pbInputLeft").value(), 0) << "nothing records";
    document->stop();
}

class LevelsLooks : public PanelScreen, public ::testing::WithParamInterface<int> {
protected:
    LevelsLooks()
        : PanelScreen(GetParam())
    {
    }
};

TEST_P(LevelsLooks, MetersSlidersAndSwitches)
{
    open();
    {
        PanelLevels panel(*host, u"PanelLevels");
        document->set_vas_enabled(true);
        document->set_vas_threshold(0.4);
        document->set_input(0.5);
        document->set_volume(0.7);
        document->notify(Document::Changes { true, true, true, true });
        // Levels as a recording would show them.
        const std::pair<const char16_t*, double> levels[] {
            { u"pbVASLeft", 0.55 },
            { u"pbVASRight", 0.3 },
            { u"pbInputLeft", 0.55 },
            { u"pbInputRight", 0.3 },
            { u"pbOutputLeft", 0.8 },
            { u"pbOutputRight", 0.65 },
        };
        for (const auto& [id, level] : levels)
            child<ControlProgress>(panel, id).set_value(level);
        run();
        EXPECT_TRUE(test::matches_screenshot(screen->shown(), "app-levels-x" + std::to_string(GetParam())));
    }
    document.reset();
}

INSTANTIATE_TEST_SUITE_P(Scales, LevelsLooks, ::testing::Values(1, 2));

}
