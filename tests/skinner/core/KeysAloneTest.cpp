#include "platform/ui/Input.h"
#include "platform/ui/WindowManager.h"
#include "skinner/core/FormImpl.h"
#include "tests/skinner/EditionOnly.h"
#include "tests/skinner/MenuFormScreen.h"

#include <gmock/gmock.h>

using ::testing::Contains;
using ::testing::ElementsAre;

namespace {

// The Smartphone edition has no touch screen: keys alone reach the controls.
class KeysAlone : public test::MenuFormScreen {
protected:
    void SetUp() override
    {
        ORVANTA_SMARTPHONE_ONLY();
        // Shown as the program shows its main form, which it builds hidden.
        form.show(false);
        form.show(true);
        run();
    }

    skinner::Form form { nullptr, menus_skin, u"Bar" };
    test::ProbeControl pad { form, u"Pad" };
};

TEST_F(KeysAlone, TheFormInFrontGivesItsControlTheFocus)
{
    EXPECT_TRUE(form.is_active());
    EXPECT_THAT(pad.events, Contains("focus+"));
    EXPECT_TRUE(form.is_focused(&pad));

    pad.clear();
    skinner::Form other { nullptr, menus_skin, u"Bar" };
    platform::set_foreground_window(other.window().handle());
    run();
    EXPECT_FALSE(form.is_active());
    EXPECT_THAT(pad.events, ElementsAre("focus-"));
}

TEST_F(KeysAlone, AKeyComesAsItsCodeAndThenAsItsCharacter)
{
    pad.clear();
    screen->key('A').key(platform::vk::left);
    run();
    EXPECT_THAT(pad.events, ElementsAre("key 20", "text a", "keyup 20", "key 4", "keyup 4"));
}

}
