#include "tests/skinner/FormScreen.h"

#include "platform/core/MessageQueue.h"
#include "os/Registry.h"
#include "platform/ui/Paint.h"
#include "tests/support/TempDir.h"
#include "tests/skinner/EditionOnly.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using skinner::Color;
using skinner::Form;
using test::ProbeControl;

namespace {

constexpr Color red { 200, 0, 0, 0 };
constexpr Color blue { 0, 0, 200, 0 };

class FormWindowTest : public test::FormScreen {
protected:
    Form form { nullptr, properties, u"Board" };
    ProbeControl a { form, u"A", red };
    ProbeControl b { form, u"B", blue };

    void SetUp() override { run(); }
};

TEST_F(FormWindowTest, PlacesTheWindowAtTheWorkAreaAndLaysOutTheControls)
{
    ORVANTA_POCKET_PC_ONLY();
    EXPECT_EQ(platform::window_rect(form.window().handle()), (platform::Rect { 0, 26, 200, 146 }));
    EXPECT_EQ(a.position(), (skinner::Point { 10, 10 }));
    EXPECT_EQ(a.size(), (skinner::Size { 40, 30 }));
}

TEST_F(FormWindowTest, PaintShowsEveryControlOverTheBackBuffer)
{
    EXPECT_EQ(pixel_at(form, { 10, 10 }), skinner::color_ref(red));
    EXPECT_EQ(pixel_at(form, { 99, 39 }), skinner::color_ref(blue));
    // Nothing paints the rest: the back buffer's own colour shows.
    EXPECT_EQ(pixel_at(form, { 5, 5 }), platform::rgb(0, 255, 255));
}

TEST_F(FormWindowTest, TapReachesOnlyTheControlUnderThePenInClientCoordinates)
{
    screen->tap(on_screen(form, { 20, 25 }));
    run();
    EXPECT_THAT(a.events, ElementsAre("enter", "down 20,25 0", "up 20,25 0"));
    EXPECT_TRUE(b.events.empty());
}

TEST_F(FormWindowTest, DoubleTapArgumentIsRepeatedOnRelease)
{
    screen->tap(on_screen(form, { 20, 25 })).tap(on_screen(form, { 21, 25 }), 100);
    run();
    EXPECT_THAT(a.events, ElementsAre("enter", "down 20,25 0", "up 20,25 0", "down 21,25 1", "up 21,25 1"));
}

TEST_F(FormWindowTest, TwoInvalidationsArePaintedOnceAsTheirBoundingBox)
{
    a.paints = b.paints = 0;
    a.invalidate();
    b.invalidate();
    EXPECT_EQ(form.window().dirty_position(), (skinner::Point { 10, 10 }));
    EXPECT_EQ(form.window().dirty_size(), (skinner::Size { 90, 30 }));
    run();
    EXPECT_EQ(a.paints, 1);
    EXPECT_EQ(b.paints, 1);
    EXPECT_EQ(form.window().dirty_size(), skinner::Size {});
}

TEST_F(FormWindowTest, PaintWithoutDirtyAreaOnlyCopiesTheBackBuffer)
{
    a.paints = 0;
    // The platform asks for a paint the form never asked for.
    platform::invalidate_rect(form.window().handle());
    run();
    EXPECT_EQ(a.paints, 0);
    EXPECT_EQ(pixel_at(form, { 10, 10 }), skinner::color_ref(red));
}

TEST_F(FormWindowTest, ComposedTextReachesTheFocusedControl)
{
    a.takes_keys = true;
    screen->text(u"\u00e9t\u00e9");
    run();
    EXPECT_THAT(a.events, ElementsAre("text \u00e9t\u00e9"));
}

TEST_F(FormWindowTest, ShowAndHideTheWindow)
{
    ORVANTA_POCKET_PC_ONLY();
    form.show(false);
    EXPECT_FALSE(form.is_window_visible());
    form.show(true);
    EXPECT_TRUE(form.is_window_visible());
    run();
    EXPECT_EQ(pixel_at(form, { 60, 10 }), skinner::color_ref(blue));
    // Shown, the window is active, and the focused control wears its focus look.
    EXPECT_TRUE(form.is_active());
    EXPECT_TRUE(a.has_focus());
    EXPECT_NE(pixel_at(form, { 10, 10 }), skinner::color_ref(red));
}

class CommandLog : public skinner::Listener {
public:
    bool on_command(std::u16string_view command) override
    {
        commands.push_back(test::narrow(command));
        return true;
    }
    std::vector<std::string> commands;
};

TEST_F(FormWindowTest, ScreenResolutionChangeIsTheFormsCommandOthersOnlyPlaceTheWindow)
{
    CommandLog log;
    form.set_listener(&log);
    for (platform::WParam code : { 0x3002, 0x2F, 0xE0, 0x1 })
        platform::send_message(form.window().handle(), platform::msg::setting_change, code);
    EXPECT_THAT(log.commands, ElementsAre("#ScreenResolution#", "#ScreenResolution#"));
}

TEST(FormWindowDirectPaintTest, FlickerSwitchPaintsStraightOntoTheWindow)
{
    test::TempDir dir;
    os::ScopedRegistryFile registry(dir.file("registry"));
    os::registry_write_dword(u"HKEY_CURRENT_USER\\Software\\Qiro", u"Flicker", 1);
    platform::ScopedService<platform::Clock, platform::headless::FakeClock> clock { platform::clock_slot(), 10000 };
    platform::ScopedService<platform::Display, platform::headless::HeadlessDisplay> screen { platform::display_slot(),
        platform::ScreenMode {} };
    skinner::Properties properties { test::framework_skin_path, { 240, 320 } };
    Form form { nullptr, properties, u"Board" };
    ProbeControl a { form, u"A", red };
    screen->run_until_idle();
    EXPECT_TRUE(form.window().direct_paint());
    EXPECT_EQ(screen->pixel(test::FormScreen::on_screen(form, { 10, 10 })), skinner::color_ref(red));
    EXPECT_EQ(screen->pixel(test::FormScreen::on_screen(form, { 5, 5 })), platform::rgb(255, 0, 255));
}

}
