#include "tests/skinner/widgets/buttons/ButtonScreen.h"

#include "skinner/widgets/buttons/ControlButtonMultistate.h"
#include "tests/skinner/EditionOnly.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using skinner::ControlButtonMultistate;
namespace key = skinner::key;

namespace {

class ControlButtonMultistateTest : public test::ButtonScreen {
protected:
    ControlButtonMultistate multi { 2, form, u"btnMulti" };
    // The state each click showed the form.
    std::vector<std::uint32_t> seen;

    void SetUp() override
    {
        log.on_each = [this](skinner::Control&) { seen.push_back(multi.get_state()); };
        run();
    }
};

TEST_F(ControlButtonMultistateTest, EveryKindOfClickAdvancesBeforeItIsReported)
{
    ORVANTA_POCKET_PC_ONLY();
    screen->tap(on_screen(form, centre(multi)));
    run();
    multi.take_focus();
    form.on_keydown(key::enter);
    form.on_keyup(key::enter);
    multi.on_command(u"btnMulti");
    form.set_default_button(&multi);
    form.set_focus(nullptr);
    form.on_keydown(key::enter);
    form.on_keyup(key::enter);
    EXPECT_THAT(seen, ElementsAre(1u, 0u, 1u, 0u));
}

TEST_F(ControlButtonMultistateTest, EachStateDrawsItsOwnLooks)
{
    ORVANTA_POCKET_PC_ONLY();
    EXPECT_EQ(corner_colour(multi), test::look_red);
    multi.set_pushed(true);
    EXPECT_EQ(corner_colour(multi), test::look_green);
    multi.set_pushed(false); // clicks: state 1
    ASSERT_EQ(multi.get_state(), 1u);
    // State 1 has only its normal look, in every condition.
    EXPECT_EQ(corner_colour(multi), test::look_blue);
    multi.set_pushed(true);
    EXPECT_EQ(corner_colour(multi), test::look_blue);
    multi.set_enabled(false);
    EXPECT_EQ(corner_colour(multi), test::look_blue);
}

TEST_F(ControlButtonMultistateTest, SetStateTakesOnlyAnotherValidIndex)
{
    ORVANTA_POCKET_PC_ONLY();
    for (const std::int64_t index : { std::int64_t { 0 }, std::int64_t { -1 }, std::int64_t { 2 } }) {
        SCOPED_TRACE(index);
        multi.set_state(index);
        EXPECT_EQ(multi.get_state(), 0u);
        EXPECT_TRUE(clean());
    }
    multi.set_state(1);
    EXPECT_EQ(multi.get_state(), 1u);
    EXPECT_EQ(corner_colour(multi), test::look_blue);
    EXPECT_TRUE(seen.empty());
}

TEST_F(ControlButtonMultistateTest, WithoutStatesItStaysAtZeroAndDrawsItsOwnLooks)
{
    ORVANTA_POCKET_PC_ONLY();
    ControlButtonMultistate none { 0, form, u"btnOnlyNormal" };
    EXPECT_TRUE(none.click_at_centre());
    EXPECT_EQ(none.get_state(), 0u);
    none.set_state(0);
    EXPECT_EQ(corner_colour(none), test::look_red);
}

}
