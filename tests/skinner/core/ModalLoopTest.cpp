#include "skinner/core/ModalLoop.h"

#include "platform/ui/WindowManager.h"
#include "skinner/widgets/combos/FormCombo.h"
#include "skinner/skin/ScreenMetrics.h"
#include "tests/skinner/FormScreen.h"
#include "tests/skinner/core/ScriptHook.h"
#include "tests/skinner/EditionOnly.h"

#include <memory>
#include <string>
#include <vector>

using skinner::Form;
using skinner::FormCombo;

namespace {

bool enabled(const Form& form)
{
    return platform::is_window_enabled(form.window().handle());
}

class ModalLoops : public test::FormScreen {
protected:
    Form main { nullptr, properties, u"Board" };
    test::ScriptHook main_hook { main.window().handle() };
    std::vector<std::string> events;
};

TEST_F(ModalLoops, AnOwnedFormDisablesTheOtherFormsWhileItRuns)
{
    Form side { nullptr, properties, u"Fixed" };
    Form already_off { nullptr, properties, u"Centered" };
    platform::enable_window(already_off.window().handle(), false);
    auto doomed = std::make_unique<Form>(nullptr, properties, u"Kept");
    FormCombo drop { main, properties, u"Drop", nullptr, { 10, 10 }, { 100, 60 } };
    Form dialog { &main, properties, u"OnOwner" };
    run();

    screen->call([&] {
        EXPECT_FALSE(enabled(main));
        EXPECT_FALSE(enabled(side));
        EXPECT_FALSE(enabled(*doomed));
        EXPECT_TRUE(enabled(drop)) << "drop-down forms are left alone";
        EXPECT_TRUE(enabled(dialog));
        doomed.reset(); // deleted while disabled: never touched again
        dialog.close();
    });
    dialog.do_modal();

    EXPECT_FALSE(screen->stalled());
    EXPECT_TRUE(enabled(main));
    EXPECT_TRUE(enabled(side));
    EXPECT_FALSE(enabled(already_off)) << "what was off before stays off";
    EXPECT_EQ(platform::foreground_window(), main.window().handle()) << "the owner comes to the front";
}

TEST_F(ModalLoops, AFormWithoutOwnerDisablesNothing)
{
    Form side { nullptr, properties, u"Fixed" };
    run();
    screen->call([&] {
        EXPECT_TRUE(enabled(side));
        main.close();
    });
    main.do_modal();
    EXPECT_FALSE(screen->stalled());
    EXPECT_TRUE(enabled(side));
}

TEST_F(ModalLoops, TheCloseOfAnInnerFormEndsOnlyItsOwnLoop)
{
    Form dialog { &main, properties, u"OnOwner" };
    run();
    screen->call([&] {
        main_hook.post([&] {
            events.push_back("inner starts");
            dialog.do_modal();
            events.push_back(Form::current_modal() == &main ? "inner ended, main current" : "inner ended");
        });
    });
    screen->call([&] { dialog.close(); });
    screen->call([&] {
        events.push_back("main still runs");
        main.close();
    });
    main.do_modal();
    EXPECT_EQ(events, (std::vector<std::string> { "inner starts", "inner ended, main current", "main still runs" }));
    EXPECT_FALSE(screen->stalled());
    EXPECT_EQ(Form::current_modal(), nullptr);
}

TEST_F(ModalLoops, FullScreenModeTellsEveryFormOnceAndFreesTheBars)
{
    ORVANTA_POCKET_PC_ONLY();
    constexpr platform::WParam work_area_changed = 0xE0;
    Form side { nullptr, properties, u"Fixed" };
    test::ScriptHook side_hook { side.window().handle() };
    skinner::set_full_screen_mode(true);
    skinner::set_full_screen_mode(true);
    EXPECT_EQ(main_hook.count(platform::msg::setting_change, work_area_changed), 1);
    EXPECT_EQ(side_hook.count(platform::msg::setting_change, work_area_changed), 1);
    EXPECT_EQ(skinner::get_work_area(false), (skinner::WorkAreaRect { { 0, 0 }, { 240, 320 } }));
    skinner::set_full_screen_mode(false);
    EXPECT_EQ(main_hook.count(platform::msg::setting_change, work_area_changed), 2);
    EXPECT_EQ(skinner::get_work_area(false), (skinner::WorkAreaRect { { 0, 26 }, { 240, 268 } }));
}

}
