#include "skinner/widgets/combos/FormCombo.h"

#include "platform/ui/WindowManager.h"
#include "skinner/core/MessageLoop.h"
#include "tests/skinner/FormScreen.h"
#include "tests/skinner/core/ScriptHook.h"
#include "tests/skinner/EditionOnly.h"

#include <gmock/gmock.h>
#include <functional>
#include <string>
#include <vector>

using ::testing::ElementsAre;
using skinner::Form;
using skinner::FormCombo;
using test::ProbeControl;

namespace {

class DropDowns : public test::FormScreen {
protected:
    void SetUp() override { run(); }

    platform::Window drop_window() const { return drop.window().handle(); }

    // Board lies at the work area's top left, (0, 26).
    Form owner { nullptr, properties, u"Board" };
    FormCombo drop { owner, properties, u"Drop", nullptr, { 60, 40 }, { 100, 60 } };
    ProbeControl item { drop, u"Item" };
};

TEST_F(DropDowns, FloatsAtItsPlaceWithTheCaptureAndTheFocus)
{
    ORVANTA_POCKET_PC_ONLY();
    EXPECT_EQ(platform::window_rect(drop_window()), (platform::Rect { 60, 66, 160, 126 }));
    EXPECT_EQ(platform::window_parent(drop_window()), platform::no_window);
    EXPECT_TRUE(platform::is_window_visible(drop_window()));
    EXPECT_EQ(platform::capture_window(), drop_window());
    EXPECT_EQ(platform::focus_window(), drop_window());
    EXPECT_TRUE(drop.window().is_drop_down());
    EXPECT_EQ(item.size(), (skinner::Size { 100, 20 }));
}

TEST_F(DropDowns, APressInsideReachesItsControlAndKeepsItOpen)
{
    ORVANTA_POCKET_PC_ONLY();
    screen->tap({ 70, 70 });
    screen->call([&] { drop.close(); });
    skinner::run_message_loop(drop_window());
    EXPECT_THAT(item.events, ElementsAre("enter", "down 10,4 0", "up 10,4 0"));
}

// However it closes, its loop ends and it no longer holds the capture.
TEST_F(DropDowns, EveryWayOfClosingEndsItsLoopAndFreesTheCapture)
{
    struct Case {
        const char* name;
        std::function<void(FormCombo&)> close;
    };
    const Case cases[] = {
        { "a press outside", [this](FormCombo&) { screen->tap({ 200, 200 }); } },
        { "another window takes the capture",
            [this](FormCombo&) { screen->call([this] { platform::set_capture(owner.window().handle()); }); } },
        { "closed by its owner", [this](FormCombo& form) { screen->call([&form] { form.close(); }); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormCombo another { owner, properties, u"Drop", nullptr, { 0, 0 }, { 100, 60 } };
        c.close(another);
        skinner::run_message_loop(another.window().handle());
        EXPECT_FALSE(screen->stalled());
        EXPECT_NE(platform::capture_window(), another.window().handle());
        run(); // what is left of the script, the pen's release
    }
}

TEST_F(DropDowns, ClosingADropDownLeavesTheModalLoopOfItsDialogRunning)
{
    Form dialog { &owner, properties, u"OnOwner" };
    test::ScriptHook hook { dialog.window().handle() };
    std::vector<std::string> events;
    screen->call([&] {
        hook.post([&] {
            FormCombo inner { dialog, properties, u"Drop", nullptr, { 0, 0 }, { 100, 60 } };
            skinner::run_message_loop(inner.window().handle());
            events.push_back("drop-down closed");
        });
    });
    screen->tap({ 230, 200 });
    screen->call([&] {
        events.push_back(Form::current_modal() == &dialog ? "dialog still modal" : "dialog gone");
        dialog.close();
    });
    dialog.do_modal();
    EXPECT_EQ(events, (std::vector<std::string> { "drop-down closed", "dialog still modal" }));
    EXPECT_FALSE(screen->stalled());
}

}
