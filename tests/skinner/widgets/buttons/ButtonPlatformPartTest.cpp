#include "tests/skinner/widgets/buttons/ButtonScreen.h"

#include "platform/core/MessageQueue.h"
#include "platform/ui/Screen.h"
#include "platform/ui/WindowManager.h"
#include "skinner/widgets/buttons/ControlButton.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"
#include "tests/skinner/EditionOnly.h"

#include <gmock/gmock.h>
#include <memory>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using skinner::ControlButton;

namespace {

// The back buffer's colour, where no control paints.
constexpr platform::ColorRef nothing_painted = platform::rgb(0, 255, 255);

class ButtonPlatformPartTest : public test::ButtonScreen {
protected:
    platform::Window window() const { return form.window().handle(); }
};

TEST_F(ButtonPlatformPartTest, PartsDecideWhatIsPaintedHitAndFocused)
{
    ORVANTA_POCKET_PC_ONLY();
    struct Case {
        const char16_t* id;
        bool shown; // painted and hit
        bool focusable;
    };
    const Case cases[] = {
        { u"btnBorder", false, false },
        { u"btnSysmenu", false, false },
        { u"btnCancel", true, true },
        { u"btnOk", false, false },
        { u"btnCaption", false, false },
        { u"btnClose", true, true }, // last: its tap closes the form
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(test::narrow(c.id));
        ControlButton button { form, c.id };
        ASSERT_NE(button.impl(), nullptr);
        EXPECT_EQ(corner_colour(button), c.shown ? test::look_red : nothing_painted);
        EXPECT_EQ(button.hit_test(centre(button)), c.shown);
        EXPECT_EQ(button.wants_focus(), c.focusable);
        form.set_focus(nullptr);
        form.focus_next(true);
        EXPECT_EQ(form.focused() == &button, c.focusable);
        screen->tap(on_screen(form, centre(button)));
        run();
        EXPECT_EQ(log.clicks.size(), c.shown ? 1u : 0u);
        log.clicks.clear();
    }
}

TEST_F(ButtonPlatformPartTest, TitleBarOkClicksTheButtonWhileItLives)
{
    ORVANTA_POCKET_PC_ONLY();
    EXPECT_FALSE(ok_shown());
    auto ok = std::make_unique<ControlButton>(form, u"btnOk");
    EXPECT_TRUE(ok_shown());
    screen->tap(ok_middle());
    run();
    EXPECT_THAT(log.clicks, ElementsAre(u"btnOk"));
    ok->set_enabled(false);
    screen->tap(ok_middle());
    run();
    EXPECT_THAT(log.clicks, ElementsAre(u"btnOk"));
    ok.reset();
    EXPECT_FALSE(ok_shown());
    platform::send_message(window(), platform::msg::command, platform::id_ok, 0);
    EXPECT_THAT(log.clicks, ElementsAre(u"btnOk"));
}

TEST_F(ButtonPlatformPartTest, CaptionButtonIsTheWindowsTitle)
{
    ControlButton caption { form, u"btnCaption" };
    EXPECT_EQ(platform::window_text(window()), u"caption_text");
    caption.set_text(u"Another");
    EXPECT_EQ(platform::window_text(window()), u"Another");
    // The same text again is not passed on.
    platform::set_window_text(window(), u"Elsewhere");
    caption.set_text(u"Another");
    EXPECT_EQ(platform::window_text(window()), u"Elsewhere");
}

TEST_F(ButtonPlatformPartTest, CloseButtonAsksTheWindowToCloseBeforeTheFormHearsTheClick)
{
    ORVANTA_POCKET_PC_ONLY();
    ControlButton close { form, u"btnClose" };
    bool close_pending = false;
    log.on_each = [&](skinner::Control&) {
        platform::Message m;
        close_pending = platform::peek_message(m, window(), platform::msg::close, platform::msg::close,
            platform::Peek::keep);
    };
    screen->tap(on_screen(form, centre(close)));
    run();
    EXPECT_THAT(log.clicks, ElementsAre(u"btnClose"));
    EXPECT_TRUE(close_pending);
    EXPECT_FALSE(platform::is_window_visible(window()));
}

TEST_F(ButtonPlatformPartTest, ReloadedSkinReplacesThePart)
{
    ORVANTA_POCKET_PC_ONLY();
    // The same forms, with the OK button's action taken away.
    test::TempDir dir;
    std::string source = test::read_file(std::string(ORVANTA_FIXTURES) + "/skin/framework.skin.xml");
    const std::string ok_action = "value=\"BUTTON_OK\"";
    source.replace(source.find(ok_action), ok_action.size(), "value=\"NOTHING\"");
    const std::string folder = std::string(ORVANTA_FRAMEWORK_SKIN).substr(0, std::string(ORVANTA_FRAMEWORK_SKIN).rfind('/'));
    dir.write("looks.png", test::read_file(folder + "/looks.png"));
    dir.write("panel.png", test::read_file(folder + "/panel.png"));
    const std::string changed = dir.file("changed.skin");
    ASSERT_EQ(test::run_tool({ ORVANTA_SKIN_COMPILER, dir.write("changed.skin.xml", source), changed }).exit_code, 0);

    ControlButton ok { form, u"btnOk" };
    EXPECT_TRUE(ok_shown());
    ASSERT_TRUE(properties.load_skin(platform::from_utf8(changed), { 240, 320 }));
    EXPECT_EQ(ok.action(), skinner::ButtonAction::nothing);
    EXPECT_FALSE(ok_shown());
    platform::send_message(window(), platform::msg::command, platform::id_ok, 0);
    EXPECT_THAT(log.clicks, IsEmpty());
    // Now an ordinary button.
    EXPECT_EQ(corner_colour(ok), test::look_red);
    EXPECT_TRUE(ok.wants_focus());
    screen->tap(on_screen(form, centre(ok)));
    run();
    EXPECT_THAT(log.clicks, ElementsAre(u"btnOk"));
}

}
