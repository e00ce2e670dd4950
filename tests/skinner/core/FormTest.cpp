#include "tests/skinner/FormScreen.h"

#include "platform/core/MessageBox.h"
#include "platform/core/MessageQueue.h"
#include "platform/ui/Input.h"
#include "skinner/core/KeyCode.h"
#include "tests/skinner/EditionOnly.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using skinner::Form;
using skinner::Point;
using skinner::Size;
using test::ProbeControl;

namespace {

class FormTest : public test::FormScreen { };

struct PlacementCase {
    const char16_t* form;
    bool owned;
    platform::Rect expected;
};

// The work area is (0, 26) 240 x 268; the owner ("Board") sits there at 200 x 120.
TEST_F(FormTest, PlacesItsWindowByTheStartPositions)
{
    ORVANTA_POCKET_PC_ONLY();
    Form owner { nullptr, properties, u"Board" };
    const PlacementCase cases[] {
        { u"Fixed", false, { 30, 40, 130, 100 } },
        // StartPosition 1 without StartPositionY centres on both axes.
        { u"Centered", false, { 70, 130, 170, 190 } },
        { u"OnOwner", true, { 50, 56, 150, 116 } },
        { u"Filled", false, { 0, 26, 240, 294 } },
        { u"FarEdge", false, { 140, 234, 240, 294 } },
        // Mode 6 on one axis leaves the window where it was made: on the work area.
        { u"Kept", false, { 0, 26, 240, 294 } },
    };
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(test::narrow(c.form));
        Form form { c.owned ? &owner : nullptr, properties, c.form };
        EXPECT_EQ(platform::window_rect(form.window().handle()), c.expected);
    }
}

class RefusingForm : public Form {
public:
    using Form::Form;
    bool can_close() override { return allow; }
    void on_copy_data(std::u16string_view text) override { received.emplace_back(text); }
    bool allow = false;
    std::vector<std::u16string> received;
};

TEST_F(FormTest, CloseThatCanCloseRefusesKeepsTheFormOpen)
{
    RefusingForm form { nullptr, properties, u"Board" };
    run();
    form.close();
    EXPECT_TRUE(form.is_window_visible());
    platform::Message message;
    EXPECT_FALSE(platform::peek_message(message, form.window().handle(), platform::msg::form_close,
        platform::msg::form_close, platform::Peek::keep));
}

TEST_F(FormTest, ModalLoopEndsWhenTheFormClosesAndTheWindowHides)
{
    RefusingForm form { nullptr, properties, u"Board" };
    form.allow = true;
    screen->call([&] {
        EXPECT_EQ(Form::current_modal(), &form);
        EXPECT_TRUE(form.in_modal_loop());
        form.close();
    });
    form.do_modal();
    EXPECT_TRUE(screen->script_done());
    EXPECT_FALSE(screen->stalled());
    EXPECT_FALSE(form.is_window_visible());
    EXPECT_EQ(Form::current_modal(), nullptr);
    EXPECT_FALSE(form.is_active());
}

TEST_F(FormTest, InnerCloseEndsOnlyTheInnerLoop)
{
    Form outer { nullptr, properties, u"Board" };
    Form inner { &outer, properties, u"Centered" };
    std::vector<std::string> steps;
    screen->call([&] {
        inner.do_modal();
        steps.push_back(Form::current_modal() == &outer ? "inner done, outer current" : "inner done");
    });
    screen->call([&] { inner.close(); });
    screen->call([&] {
        steps.push_back("outer still running");
        outer.close();
    });
    outer.do_modal();
    EXPECT_THAT(steps, ElementsAre("inner done, outer current", "outer still running"));
    EXPECT_FALSE(screen->stalled());
}

TEST_F(FormTest, PocketPcKeyArrivesOnceAsTextOrKeyCode)
{
    ORVANTA_POCKET_PC_ONLY();
    Form form { nullptr, properties, u"Board" };
    ProbeControl a { form, u"A" };
    screen->key(platform::vk::left).key('A').call([&] { form.close(); });
    form.do_modal();
    // left: no character, so a key code; "a": text first, then its key code
    // as the control refused the text.
    EXPECT_THAT(a.events,
        ElementsAre("focus+", "key 4", "keyup 4", "text a", "key 20", "keyup 20", "focus-"));
}

TEST_F(FormTest, TabAndShiftTabThroughTheWindowMoveTheFocus)
{
    Form form { nullptr, properties, u"Board" };
    ProbeControl a { form, u"A" };
    ProbeControl b { form, u"B" };
    ProbeControl c { form, u"C" };
    std::vector<std::string> focused;
    const auto note = [&] { focused.push_back(test::narrow(form.focused()->id())); };
    screen->call(note)
        .key(platform::vk::tab)
        .call(note)
        .key_down(platform::vk::shift)
        .key(platform::vk::tab, 10)
        .key_up(platform::vk::shift, 10)
        .call(note)
        .call([&] { form.close(); });
    form.do_modal();
    EXPECT_THAT(focused, ElementsAre("A", "C", "A"));
}

class Button : public skinner::Pushable {
public:
    void set_pushed(bool pushed) override { log.push_back(pushed); }
    std::vector<bool> log;
};

TEST_F(FormTest, EnterAndEscapeHoldTheDefaultAndCancelButtons)
{
    Form form { nullptr, properties, u"Board" };
    // Without the buttons the keys are not handled and nothing is called.
    for (skinner::KeyCode key : { skinner::key::enter, skinner::key::escape }) {
        EXPECT_FALSE(form.on_keydown(key));
        EXPECT_FALSE(form.on_keyup(key));
    }
    Button ok;
    Button cancel;
    form.set_default_button(&ok);
    form.set_cancel_button(&cancel);
    EXPECT_TRUE(form.on_keydown(skinner::key::enter));
    EXPECT_TRUE(form.on_keyup(skinner::key::enter));
    EXPECT_TRUE(form.on_keydown(skinner::key::escape));
    EXPECT_FALSE(form.on_keydown(skinner::key::space));
    EXPECT_THAT(ok.log, ElementsAre(true, false));
    EXPECT_THAT(cancel.log, ElementsAre(true));
}

// The text is handled after the copy-data message has been answered: what it does may run
// a box, and the sender, often another process, waits for the answer.
TEST_F(FormTest, CopyDataTextLeavesOutTheSendersTerminatingZeroAndRunsAfterTheAnswer)
{
    RefusingForm form { nullptr, properties, u"Board" };
    const char16_t with_zero[] = u"open";
    const char16_t without[] = { u'a', u'b' };
    for (const platform::CopyData& data : { platform::CopyData { 0, sizeof with_zero, with_zero },
             platform::CopyData { 0, sizeof without, without }, platform::CopyData { 7, sizeof without, without } })
        platform::send_message(form.window().handle(), platform::msg::copy_data, 0,
            platform::copy_data_message.lparam(&data));
    EXPECT_THAT(form.received, ElementsAre());
    run();
    EXPECT_THAT(form.received, ElementsAre(u"open", u"ab"));
}

TEST_F(FormTest, TapAndHoldOnAControlThatWantsGesturesComesAsAHold)
{
    Form form { nullptr, properties, u"Board" };
    ProbeControl c { form, u"C" };
    ASSERT_TRUE(c.wants_gestures());
    run();
    screen->hold_down(on_screen(form, { 120, 20 })).hold_up(on_screen(form, { 120, 20 }), 600);
    run();
    EXPECT_THAT(c.events, ElementsAre("enter", "hold-down 120,20 0", "hold-up 120,20 0"));
}

// A drop-down: a borderless window of its own, served with the pen captured.
class DropDownTest : public FormTest {
protected:
    Form owner { nullptr, properties, u"Board" };
    platform::Window made = platform::create_window(u"STATIC", owner.window().handle());
    Form drop_down { &owner, std::make_unique<skinner::FormImpl>(made, true), properties, u"Centered" };

    bool close_posted()
    {
        platform::Message message;
        return platform::peek_message(message, made, platform::msg::form_close, platform::msg::form_close,
            platform::Peek::keep);
    }
};

TEST_F(DropDownTest, LosingTheCaptureToAnotherWindowClosesIt)
{
    platform::set_capture(made);
    platform::set_capture(owner.window().handle());
    EXPECT_TRUE(close_posted());
}

TEST_F(DropDownTest, CloseReleasesTheCaptureAndEndsItsLoop)
{
    platform::set_capture(made);
    drop_down.close();
    EXPECT_EQ(platform::capture_window(), platform::no_window);
    EXPECT_TRUE(close_posted());
}

TEST_F(FormTest, CopyDataBringsTheFormOrItsOpenDialogToTheFront)
{
    Form owner { nullptr, properties, u"Board" };
    Form dialog { &owner, properties, u"Centered" };
    platform::set_foreground_window(dialog.window().handle());
    owner.on_copy_data(u"x");
    EXPECT_EQ(platform::foreground_window(), owner.window().handle());
    // While a modal dialog has the owner disabled, the dialog comes forward.
    platform::enable_window(owner.window().handle(), false);
    owner.on_copy_data(u"x");
    EXPECT_EQ(platform::foreground_window(), dialog.window().handle());
}

class LoadCounter : public ProbeControl {
public:
    using ProbeControl::ProbeControl;
    void load() override
    {
        ++loads;
        ProbeControl::load();
    }
    int loads = 0;
};

TEST_F(FormTest, SkinRefreshReloadsEveryControlAndKeepsTheLayout)
{
    ORVANTA_POCKET_PC_ONLY();
    Form form { nullptr, properties, u"Board" };
    LoadCounter a { form, u"A" };
    a.set_enabled(false);
    properties.refresh_skin();
    EXPECT_EQ(a.loads, 1);
    EXPECT_EQ(a.position(), (Point { 10, 10 }));
    // Loading again keeps what the program set where the skin says nothing.
    EXPECT_FALSE(a.own_enabled());
    EXPECT_EQ(platform::window_rect(form.window().handle()), (platform::Rect { 0, 26, 200, 146 }));
}

TEST_F(FormTest, MainMenuIsRegisteredOnce)
{
    Form form { nullptr, properties, u"Board" };
    ProbeControl a { form, u"A" };
    ProbeControl b { form, u"B" };
    form.register_menu_main(a);
    EXPECT_TRUE(form.has_menu_main());
    EXPECT_EXIT(form.register_menu_main(b), ::testing::ExitedWithCode(70), "Menu main is already exists");
    EXPECT_EXIT(form.unregister_menu_main(b), ::testing::ExitedWithCode(70), "Menus do not match");
    form.unregister_menu_main(a);
    EXPECT_FALSE(form.has_menu_main());
}

class RecordingMessageBox : public platform::MessageBox {
public:
    void show(std::u16string_view text, std::u16string_view caption) override
    {
        shown.push_back(test::narrow(caption) + "|" + test::narrow(text));
    }
    std::vector<std::string> shown;
};

TEST_F(FormTest, PictureThatFailsToLoadClosesTheModalFormElseTellsTheOwner)
{
    platform::ScopedService<platform::MessageBox, RecordingMessageBox> box { platform::message_box_slot() };
    RefusingForm owner { nullptr, properties, u"Board" };
    owner.allow = true;
    Form dialog { &owner, properties, u"Centered" };
    screen->call([&] { dialog.on_picture_failed_to_load({}); });
    owner.do_modal();
    // The dialog runs no loop: its owner is told, and the owner's loop ends.
    EXPECT_THAT(box->shown, ElementsAre("Out of memory|", "Out of memory|"));
    EXPECT_FALSE(owner.is_window_visible());
    EXPECT_FALSE(screen->stalled());
}

}
