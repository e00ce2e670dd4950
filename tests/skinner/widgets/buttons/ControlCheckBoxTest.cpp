#include "tests/skinner/widgets/buttons/ButtonScreen.h"

#include "skinner/widgets/buttons/ControlCheckBox.h"
#include "tests/skinner/EditionOnly.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using skinner::ControlCheckBox;

namespace {

class ControlCheckBoxTest : public test::ButtonScreen {
protected:
    void SetUp() override { run(); }

    void tap(const skinner::Control& control)
    {
        screen->tap(on_screen(form, centre(control)));
        run();
    }
};

TEST_F(ControlCheckBoxTest, EachTapTogglesLooksAndTextBeforeTheClickIsReported)
{
    ORVANTA_POCKET_PC_ONLY();
    ControlCheckBox box { form, u"chkBox" };
    std::vector<bool> seen;
    log.on_each = [&](skinner::Control&) { seen.push_back(box.is_checked()); };
    EXPECT_FALSE(box.is_checked());
    EXPECT_EQ(box.text(), u"off");
    EXPECT_EQ(corner_colour(box), test::look_red);
    tap(box);
    EXPECT_EQ(box.text(), u"on");
    EXPECT_EQ(corner_colour(box), test::look_blue);
    tap(box);
    EXPECT_EQ(box.text(), u"off");
    EXPECT_EQ(corner_colour(box), test::look_red);
    EXPECT_THAT(seen, ElementsAre(true, false));
}

TEST_F(ControlCheckBoxTest, WithoutCheckedTextBothStatesShowTheText)
{
    ORVANTA_POCKET_PC_ONLY();
    ControlCheckBox same { form, u"chkSame" };
    EXPECT_EQ(same.checked_text(), u"same");
    same.set_checked(true);
    EXPECT_EQ(same.text(), u"same");
    EXPECT_EQ(corner_colour(same), test::look_blue);
}

TEST_F(ControlCheckBoxTest, SkinCanStartItChecked)
{
    ORVANTA_POCKET_PC_ONLY();
    ControlCheckBox start { form, u"chkStart" };
    EXPECT_TRUE(start.is_checked());
    EXPECT_EQ(start.text(), u"on");
    EXPECT_EQ(corner_colour(start), test::look_blue);
}

TEST_F(ControlCheckBoxTest, SettingTheSameStateChangesNothing)
{
    ControlCheckBox box { form, u"chkBox" };
    run();
    box.set_checked(false);
    EXPECT_TRUE(clean());
    box.set_checked(true);
    EXPECT_FALSE(clean());
    EXPECT_TRUE(log.clicks.empty());
}

TEST_F(ControlCheckBoxTest, TextsOfEitherStateCanBeReplaced)
{
    ControlCheckBox box { form, u"chkBox" };
    box.set_state_text(u"later", ControlCheckBox::TextState::checked);
    EXPECT_EQ(box.text(), u"off");
    box.set_state_text(u"now", ControlCheckBox::TextState::unchecked);
    EXPECT_EQ(box.text(), u"now");
    box.set_checked(true);
    EXPECT_EQ(box.text(), u"later");
    // One text for both.
    box.set_text(u"both");
    box.set_checked(false);
    EXPECT_EQ(box.text(), u"both");
}

}
