#include "tests/skinner/widgets/buttons/ButtonScreen.h"

#include "skinner/core/MenuEntry.h"
#include "skinner/widgets/buttons/ControlButton.h"
#include "skinner/widgets/buttons/ControlButtonImplMenu5Pocket.h"
#include "skinner/widgets/buttons/ControlButtonImplMenu5PocketOK.h"
#include "tests/skinner/EditionOnly.h"

#include <gmock/gmock.h>
#include <algorithm>
#include <memory>

using ::testing::ElementsAre;
using skinner::ControlButton;

namespace {

// A button whose part is the one the soft-key edition gives it.
template<typename Part>
class SoftKeyButton : public ControlButton {
public:
    template<typename... Args>
    SoftKeyButton(skinner::Container& container, std::u16string_view id, Args... args)
        : ControlButton(container, id)
    {
        set_impl(nullptr);
        set_impl(std::make_unique<Part>(*this, args...));
    }
};

class ButtonMenuEntryTest : public test::ButtonScreen {
protected:
    bool listed(const skinner::MenuManager::Item& item)
    {
        return std::ranges::find(form.menu_items().items(), &item) != form.menu_items().items().end();
    }

    static skinner::MenuManager::Item& item_of(ControlButton& button)
    {
        return dynamic_cast<skinner::MenuManager::Item&>(*button.impl());
    }
};

TEST_F(ButtonMenuEntryTest, EntryIsListedWhileTheButtonIsVisible)
{
    ORVANTA_POCKET_PC_ONLY();
    auto button = std::make_unique<SoftKeyButton<skinner::ControlButtonImplMenu5Pocket>>(
        form, u"btnCancel", u"#smartphone_menu#");
    skinner::MenuManager::Item& item = item_of(*button);
    EXPECT_TRUE(listed(item));
    button->set_visible(false);
    EXPECT_FALSE(listed(item));
    button->set_visible(true);
    EXPECT_TRUE(listed(item));
    button.reset();
    EXPECT_TRUE(form.menu_items().items().empty());
}

TEST_F(ButtonMenuEntryTest, EntryNamesTheButtonAndItsCommandClicksIt)
{
    SoftKeyButton<skinner::ControlButtonImplMenu5Pocket> button { form, u"btnCancel", u"#smartphone_menu#" };
    button.set_text(u"Cancel");
    button.set_z_order(7);
    skinner::MenuManager::Item& item = item_of(button);
    EXPECT_EQ(item.get_text(), u"#smartphone_menu#");
    EXPECT_EQ(item.get_command_id(), 1000007);
    EXPECT_FALSE(item.has_submenu());
    skinner::MenuEntry entry;
    item.build_menu_entry(entry);
    EXPECT_EQ(entry.id, u"btnCancel");
    EXPECT_EQ(entry.text, u"Cancel");
    EXPECT_TRUE(entry.enabled);
    ASSERT_EQ(entry.owner, &button);
    entry.owner->on_command(entry.id);
    EXPECT_THAT(log.clicks, ElementsAre(u"btnCancel"));
    button.set_enabled(false);
    item.build_menu_entry(entry);
    EXPECT_FALSE(entry.enabled);
}

TEST_F(ButtonMenuEntryTest, OkEntryAlsoShowsTheTitleBarOk)
{
    SoftKeyButton<skinner::ControlButtonImplMenu5PocketOK> ok { form, u"btnOk" };
    EXPECT_EQ(item_of(ok).get_text(), u"#smartphone_ok#");
    EXPECT_FALSE(ok.wants_focus());
    EXPECT_FALSE(ok.hit_test(centre(ok)));
    // Listed because the button shows, though the part paints nothing.
    EXPECT_TRUE(listed(item_of(ok)));
    EXPECT_TRUE(ok_shown());
    platform::send_message(form.window().handle(), platform::msg::command, platform::id_ok, 0);
    EXPECT_THAT(log.clicks, ElementsAre(u"btnOk"));
}

}
