#include "tests/skinner/ListsScreen.h"

#include "platform/ui/Input.h"
#include "platform/ui/WindowManager.h"
#include "skinner/widgets/combos/ControlComboBoxStringReadonly.h"
#include "skinner/core/FormImpl.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using skinner::Point;

namespace {

class ControlComboBoxTest : public test::ListsScreen {
protected:
    skinner::Form form { nullptr, lists, u"Combos", &log };
    skinner::ControlComboBoxStringReadonly combo { form, u"Combo" };

    void SetUp() override
    {
        combo.items = { u"Red", u"Green", u"Blue", u"Cyan", u"Magenta" };
        form.set_active(true);
        run();
        log.clear();
    }

    platform::Point screen_point(Point client) const { return on_screen(form, client); }
    // The drop-down button at the combo box's right end.
    platform::Point button_point() const { return screen_point({ 120, 20 }); }
    // A row of the drop-down that opens below the combo box.
    platform::Point row_point(std::int32_t row) const { return screen_point({ 20, 30 + row * 20 + 10 }); }
    std::string face_text() { return test::narrow(combo.face().text()); }
};

TEST_F(ControlComboBoxTest, OpeningAndClosingWithoutAChoiceReportsNoChange)
{
    combo.set_current(1);
    // A tap outside the drop-down, or on the button again.
    for (platform::Point closing : { screen_point({ 200, 150 }), button_point() }) {
        log.clear();
        screen->tap(button_point()).tap(closing, 100);
        run();
        EXPECT_THAT(log.events, ElementsAre("closed Combo"));
        EXPECT_EQ(combo.dropdown(), nullptr);
        EXPECT_EQ(combo.get_current(), 1);
    }
}

TEST_F(ControlComboBoxTest, TappingAnItemChoosesItAndClosesTheDropDown)
{
    screen->tap(button_point()).tap(row_point(2), 100);
    run();
    EXPECT_THAT(log.events, ElementsAre("item  0,2", "closed Combo", "selection Combo"));
    EXPECT_EQ(combo.get_current(), 2);
    EXPECT_EQ(face_text(), "Blue");
}

TEST_F(ControlComboBoxTest, KeysChooseInsideTheDropDownAndEnterClosesIt)
{
    screen->tap(button_point())
        .key(platform::vk::down, 100)
        .key(platform::vk::down, 10)
        .key(platform::vk::enter, 10);
    run();
    EXPECT_THAT(log.events, ElementsAre("closed Combo", "selection Combo"));
    EXPECT_EQ(combo.get_current(), 1);
    EXPECT_EQ(face_text(), "Green");
}

TEST_F(ControlComboBoxTest, EscapeClosesTheDropDown)
{
    screen->tap(button_point()).key(platform::vk::escape, 100);
    run();
    EXPECT_THAT(log.events, ElementsAre("closed Combo"));
    EXPECT_EQ(combo.dropdown(), nullptr);
}

TEST_F(ControlComboBoxTest, EnterOnTheFocusedComboBoxOpensTheDropDown)
{
    combo.take_focus();
    screen->key(platform::vk::escape, 100);
    form.on_keydown(skinner::key::enter);
    form.on_keyup(skinner::key::enter);
    EXPECT_THAT(log.events, ElementsAre("closed Combo"));
}

TEST_F(ControlComboBoxTest, ClosingGivesTheKeyboardBackToTheForm)
{
    platform::Window inside = platform::no_window;
    screen->tap(button_point())
        .call([&] { inside = platform::focus_window(); }, 100)
        .tap(screen_point({ 200, 150 }), 10);
    run();
    EXPECT_NE(inside, form.window().handle());
    EXPECT_EQ(platform::focus_window(), form.window().handle());
}

TEST_F(ControlComboBoxTest, SetCurrentShowsTheItemAndReportsOnce)
{
    combo.set_current(3);
    EXPECT_EQ(face_text(), "Cyan");
    EXPECT_THAT(log.events, ElementsAre("selection Combo"));
    combo.set_current(3);
    EXPECT_THAT(log.events, ElementsAre("selection Combo"));
    for (std::int32_t index : { -1, 5, 99 }) {
        combo.set_current(index);
        EXPECT_EQ(face_text(), "") << index;
    }
}

TEST_F(ControlComboBoxTest, DropDownOpensBelowOrAboveAsItFits)
{
    skinner::ControlComboBoxStringReadonly low { form, u"Low" };
    skinner::ControlComboBoxStringReadonly tall { form, u"Tall" };
    struct Case {
        skinner::ControlComboBoxStringReadonly* combo;
        platform::Rect expected; // in client coordinates
    };
    const Case cases[] = {
        // Room below.
        { &combo, { 10, 30, 130, 90 } },
        // Near the bottom: above, and as wide as "DropdownSize" says.
        { &low, { 10, 110, 110, 170 } },
        // Fits neither way: below, past the form's edge.
        { &tall, { 10, 120, 130, 240 } },
    };
    for (const Case& c : cases) {
        platform::Rect shown {};
        screen->call([&] { shown = platform::window_rect(c.combo->dropdown()->window().handle()); })
            .key(platform::vk::escape, 10);
        c.combo->open_dropdown_window();
        const platform::Point origin = screen_point({ 0, 0 });
        EXPECT_EQ(shown,
            (platform::Rect { c.expected.left + origin.x, c.expected.top + origin.y, c.expected.right + origin.x,
                c.expected.bottom + origin.y }))
            << test::narrow(c.combo->id());
    }
}

}
