// The panels and displays in their place on the main form.
#include "app/MainForm.h"
#include "platform/media/headless/ScriptedWaveDriver.h"
#include "tests/app/panels/PanelScreen.h"
#include "tests/audio/CodecFiles.h"
#include "tests/audio/DecodedAudio.h"
#include "tests/support/Tool.h"

#include <filesystem>

namespace {

class MainFormPanels : public test::PanelScreen {
protected:
    MainFormPanels()
        : runtime("XDG_RUNTIME_DIR", dir.file("run").c_str())
    {
        std::filesystem::create_directories(dir.file("run"));
    }

    void SetUp() override
    {
        document = std::make_unique<Document>();
        form = std::make_unique<MainForm>(skin_store, u"Main");
        form->set_shown(true);
        run();
    }

    void TearDown() override
    {
        form.reset();
        document.reset();
    }

    template<typename T>
    T& control(std::u16string_view id)
    {
        auto* found = dynamic_cast<T*>(form->get_control(id));
        if (!found)
            throw std::runtime_error("no such control: " + platform::to_utf8(id));
        return *found;
    }

    platform::Point on_form(const skinner::Control& control) const
    {
        const skinner::Point c = test::centre(control);
        return platform::client_to_screen(form->window().handle(), { c.x, c.y });
    }

    test::EnvironmentOverride runtime;
    platform::ScopedService<platform::WaveDriver, platform::headless::ScriptedWaveDriver> driver {
        platform::wave_driver_slot()
    };
    std::unique_ptr<MainForm> form;
};

TEST_F(MainFormPanels, ThePanelSelectorShowsOnePanelAtATime)
{
    const char16_t* panels[] { u"PanelFileExplorer", u"PanelLevels", u"PanelEqualizer",
        u"PanelMoreControls" };
    EXPECT_NE(dynamic_cast<PanelLevels*>(form->get_control(u"PanelLevels")), nullptr);
    EXPECT_NE(dynamic_cast<PanelEqualizer*>(form->get_control(u"PanelEqualizer")), nullptr);
    EXPECT_NE(dynamic_cast<PanelMoreControls*>(form->get_control(u"PanelMoreControls")), nullptr);
    for (std::uint32_t state = 1; state <= 4; ++state) {
        screen->tap(on_form(*form->get_control(u"btnMode")), 50);
        run();
        for (std::uint32_t i = 0; i < 4; ++i)
            EXPECT_EQ(form->get_control(panels[i])->is_visible(), i == state % 4) << state << " " << i;
    }
}

TEST_F(MainFormPanels, TheClockModeCommandSwitchesTheClock)
{
    auto& clock = control<ControlClock>(u"Clock");
    clock.set_times(125, 3725);
    form->execute_command(u"ClockMode");
    EXPECT_EQ(clock.get_mode(), 0);
    EXPECT_EQ(clock.text(), u"01:02");
    screen->tap(on_form(*form->get_control(u"btnClockMode")), 50);
    run();
    EXPECT_EQ(clock.get_mode(), 1);
    EXPECT_EQ(clock.text(), u"02:05");
}

TEST_F(MainFormPanels, PlayingShowsTheBookmarksTheClockTheSpeedAndTheBlinking)
{
    if (!test::have_tool("sox"))
        GTEST_SKIP() << "sox makes the file";
    const std::string wav = test::make_file(dir, "take.wav",
        { "sox", "-r", "8000", "-n", "-c", "1", "-b", "16", "-e", "signed", "%o", "synth", "10", "sine",
            "440" });
    dir.write("take.wav.bm",
        "<?xml version=\"1.0\"?>\n<Bookmarks>\n"
        "  <Bookmark Name=\"Intro\" Position=\"32000\" Play=\"true\"/>\n</Bookmarks>\n");
    document->set_speed(1.5, false);
    document->set_play_list(test::u16(dir.path()), test::entries({ test::u16(wav) }), 0, false);
    ASSERT_TRUE(document->play_item(0));
    ASSERT_TRUE(driver->wait_for_line("out write 3200", 6)) << "the player has read ahead";
    // Four buffers heard: 0.8 s at one and a half times the speed.
    ASSERT_EQ(driver->play_queued(4 * 3200).size(), 4u * 3200);
    document->pause(); // the position holds still
    document->notify(Document::Changes { true, true, true, true });
    EXPECT_EQ(control<ControlProgressBookmarks>(u"pbPosition").total(), 160000);
    EXPECT_TRUE(control<ControlFlash>(u"checkPlay").is_flashing()) << "paused still plays";
    EXPECT_FALSE(control<ControlFlash>(u"checkRec").is_flashing());
    EXPECT_EQ(control<ControlSpeed>(u"frmSpeed").text(), u"x1.5");
    EXPECT_NEAR(document->get_position_seconds(), 1.2, 1e-9) << "the clock tells what was heard";
    const auto second = static_cast<int>(document->get_position_seconds());
    EXPECT_EQ(control<ControlClock>(u"Clock").text(), u"00:0" + std::u16string(1, char16_t(u'0' + second)));
    document->stop();
    document->notify(Document::Changes { false, false, true, false });
    EXPECT_FALSE(control<ControlFlash>(u"checkPlay").is_flashing());
}

}
