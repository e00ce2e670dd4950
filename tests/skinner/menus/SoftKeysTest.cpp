#include "os/Registry.h"
#include "platform/core/Resources.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/Input.h"
#include "platform/ui/MenuBar.h"
#include "skinner/widgets/buttons/ControlButton.h"
#include "skinner/widgets/buttons/ControlButtonImpl.h"
#include "skinner/widgets/buttons/ControlCheckBox.h"
#include "skinner/core/FormImpl.h"
#include "skinner/menus/ControlMenuMain.h"
#include "skinner/menus/MenuBarResources.h"
#include "skinner/menus/MenuManagerImplPocket.h"
#include "skinner/menus/MenuManagerImplSmartphone.h"
#include "tests/skinner/EditionOnly.h"
#include "tests/skinner/MenuFormScreen.h"
#include "tests/skinner/TraceCapture.h"
#include "tests/skinner/widgets/buttons/ButtonScreen.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>

#include <optional>
#include <string>
#include <vector>

using namespace skinner;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// The skin's dialog: every kind of button, a check box and a main menu.
struct Dialog {
    Dialog(Properties& skin, Listener& listener, Form* owner = nullptr)
        : form(owner, skin, u"SoftKeys", &listener)
    {
    }

    Form form;
    ControlMenuMain main { form, u"MainMenu" };
    ControlButton ok { form, u"btnOk" };
    ControlButton yes { form, u"btnYes" };
    ControlButton cancel { form, u"btnCancel" };
    ControlButton play { form, u"btnPlay" };
    ControlCheckBox loop { form, u"chkLoop" };
    ControlButton flat { form, u"btnFlat" };
    ControlButton close { form, u"btnClose" };
    ControlButton wide { form, u"btnWide" };
    ControlButton caption { form, u"Caption" };
    ControlButton edge { form, u"btnEdge" };
};

class SoftKeys : public test::MenuFormScreen {
protected:
    static void SetUpTestSuite() { add_menu_bar_resources(platform::program_resources()); }

    // The texts the bar's keys show, left to right.
    static std::vector<std::u16string> keys(platform::Window bar)
    {
        std::vector<std::u16string> out;
        for (int i = 0; i < platform::toolbar_button_count(bar); ++i)
            out.push_back(platform::toolbar_button(bar, i)->text);
        return out;
    }

    static platform::Window bar_of(const Form& form)
    {
        MenuManagerImpl* manager = form.window().menu_manager();
        if (auto* phone = dynamic_cast<MenuManagerImplSmartphone*>(manager))
            return phone->bar();
        if (auto* pocket = dynamic_cast<MenuManagerImplPocket*>(manager))
            return pocket->bar();
        return platform::no_window;
    }

    void bring_forward(Form& form)
    {
        platform::set_foreground_window(form.window().handle());
        run();
    }

    void press(std::uint32_t key)
    {
        screen->key(key);
        run();
    }

    test::TempDir dir;
    os::ScopedRegistryFile registry { dir.file("registry") };
    test::ClickLog clicks;
};

TEST_F(SoftKeys, SmartphoneButtonsBecomeSoftKeyEntriesByTheirAction)
{
    ORVANTA_SMARTPHONE_ONLY();
    Dialog d(menus_skin, clicks);
    struct Case {
        ControlButtonBase* button;
        bool painted;
        bool focusable;
        std::optional<std::u16string> label; // listed on the soft keys under it
    };
    const Case cases[] = {
        { &d.ok, false, false, u"#smartphone_ok#" },
        { &d.yes, false, false, u"#smartphone_ok#" },
        { &d.cancel, false, false, u"#smartphone_menu#" },
        { &d.play, false, false, u"" },
        { &d.loop, false, false, u"" },
        { &d.flat, true, true, std::nullopt },
        { &d.close, false, false, u"" },
        { &d.wide, false, false, std::nullopt },
        { &d.caption, false, false, std::nullopt },
        { &d.edge, false, false, std::nullopt },
    };
    const auto& listed = d.form.menu_items().items();
    for (const Case& c : cases) {
        SCOPED_TRACE(test::narrow(c.button->id()));
        EXPECT_EQ(c.button->impl()->visible(), c.painted);
        EXPECT_EQ(c.button->wants_focus(), c.focusable);
        auto* item = dynamic_cast<MenuManager::Item*>(c.button->impl());
        const bool is_listed = item && std::ranges::find(listed, item) != listed.end();
        ASSERT_EQ(is_listed, c.label.has_value());
        if (c.label)
            EXPECT_EQ(item->get_text(), *c.label);
    }
    EXPECT_EQ(platform::window_text(d.form.window().handle()), u"Title");

    // A hidden button leaves the menus, a shown one comes back.
    d.play.set_visible(false);
    EXPECT_EQ(std::ranges::count(listed, dynamic_cast<MenuManager::Item*>(d.play.impl())), 0);
    d.play.set_visible(true);
    EXPECT_EQ(std::ranges::count(listed, dynamic_cast<MenuManager::Item*>(d.play.impl())), 1);
}

TEST_F(SoftKeys, TheSmartphoneCaptionAlsoTellsTheTray)
{
    ORVANTA_SMARTPHONE_ONLY();
    std::vector<platform::WParam> heard;
    platform::register_window_class({ u"tray", {}, false, 0 });
    platform::WindowParams params;
    params.class_name = u"tray";
    params.title = u"tray";
    const platform::Window tray = platform::create_window(params);
    platform::set_window_procedure(tray, [&](platform::Window w, platform::MessageId id, platform::WParam wp, platform::LParam lp) {
        if (id == platform::msg::user)
            heard.push_back(wp);
        return platform::default_window_procedure(w, id, wp, lp);
    });
    {
        test::TraceCapture trace(dir);
        Dialog d(menus_skin, clicks);
        d.caption.set_text(u"Renamed");
        run();
        EXPECT_EQ(platform::window_text(d.form.window().handle()), u"Renamed");
        EXPECT_EQ(heard, std::vector<platform::WParam> { 4 });
        EXPECT_THAT(trace.text(), HasSubstr(" to {Renamed\n"));
    }
    platform::destroy_window(tray);
}

TEST_F(SoftKeys, TheSmartphoneLaysOutFormsForTheirSizeWithoutButtons)
{
    Dialog d(menus_skin, clicks);
    EXPECT_EQ(d.form.reference_size(), is_smartphone ? (Size { 200, 95 }) : (Size { 200, 120 }));
    bring_forward(d.form);
    EXPECT_EQ(d.form.get_size(), is_smartphone ? (Size { 200, 95 }) : (Size { 200, 120 }));
}

TEST_F(SoftKeys, SmartphoneKeysShowTheMenusAndActOnThem)
{
    ORVANTA_SMARTPHONE_ONLY();
    Dialog d(menus_skin, clicks);
    bring_forward(d.form);
    const platform::Window bar = bar_of(d.form);
    ASSERT_NE(bar, platform::no_window);
    EXPECT_THAT(keys(bar), ElementsAre(u"Action", u"Menu"));
    // The right key's menu opens above the bar at its right end.
    screen->key(platform::vk::soft_2)
        .call([&] { EXPECT_TRUE(test::matches_screenshot(screen->shown(), "soft-keys-smartphone")); }, 50)
        .key(platform::vk::escape, 50);
    run();
    EXPECT_TRUE(clicks.clicks.empty());

    // One entry on a key: the key is that button.
    d.yes.set_visible(false);
    run();
    EXPECT_THAT(keys(bar), ElementsAre(u"Done", u"Menu"));
    press(platform::vk::soft_1);
    EXPECT_THAT(clicks.clicks, ElementsAre(u"btnOk"));
    // Disabled, it does nothing.
    d.ok.set_enabled(false);
    press(platform::vk::soft_1);
    EXPECT_EQ(clicks.clicks.size(), 1u);

    // The right key's menu: the plain button, the check box, the close
    // button, then the cancel button merged in. Choosing the check box ticks it.
    screen->key(platform::vk::soft_2).key(platform::vk::down, 50).key(platform::vk::down, 50);
    screen->key(platform::vk::enter, 50);
    run();
    EXPECT_THAT(clicks.clicks, ElementsAre(u"btnOk", u"chkLoop"));
    EXPECT_TRUE(d.loop.is_checked());
    screen->key(platform::vk::soft_2).key(platform::vk::up, 50).key(platform::vk::enter, 50);
    run();
    EXPECT_THAT(clicks.clicks, ElementsAre(u"btnOk", u"chkLoop", u"btnCancel"));
}

TEST_F(SoftKeys, PocketPcSoftKeysTakeTheOkCancelAndYesButtons)
{
    ORVANTA_POCKET_PC_SOFT_KEYS_ONLY();
    Dialog d(menus_skin, clicks);
    bring_forward(d.form);
    const platform::Window bar = bar_of(d.form);
    ASSERT_NE(bar, platform::no_window);
    // OK and Yes share the left key; Cancel alone is the right one. The
    // other buttons stay on the form.
    EXPECT_THAT(keys(bar), ElementsAre(u"Action", u"Back"));
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), "soft-keys-pocketpc"));
    EXPECT_TRUE(d.play.impl()->visible());
    EXPECT_FALSE(d.ok.impl()->visible());
    EXPECT_TRUE(d.cancel.impl()->visible());

    press(platform::vk::soft_2);
    EXPECT_THAT(clicks.clicks, ElementsAre(u"btnCancel"));
    screen->key(platform::vk::soft_1).key(platform::vk::down, 50).key(platform::vk::down, 50);
    screen->key(platform::vk::enter, 50);
    run();
    EXPECT_THAT(clicks.clicks, ElementsAre(u"btnCancel", u"btnYes"));
}

// The main form's Back key.
class BackKey : public SoftKeys {
protected:
    void SetUp() override
    {
        if constexpr (!is_smartphone)
            GTEST_SKIP() << "the Smartphone edition's behaviour";
        bring_forward(form);
        form.set_focus(&pad);
        ASSERT_NE(bar_of(form), platform::no_window);
    }

    void back()
    {
        screen->key(platform::vk::escape);
        run();
    }

    bool in_front() const { return platform::active_window() == form.window().handle(); }

    test::CommandLog log;
    Form form { nullptr, menus_skin, u"Bar", &log };
    ControlMenuMain main { form, u"MainMenu" };
    test::ProbeControl pad { form, u"Pad" };
};

TEST_F(BackKey, UnusedOnTheMainFormItLeavesForThePreviousScreenOnRelease)
{
    test::TraceCapture trace(dir);
    screen->key_down(platform::vk::escape);
    run();
    EXPECT_TRUE(in_front());
    screen->key_up(platform::vk::escape);
    run();
    EXPECT_FALSE(in_front());
    // The form heard Escape and Backspace, pressed and released.
    EXPECT_THAT(pad.events, ElementsAre("key 8", "key 11", "keyup 8", "keyup 11"));
    const std::string traced = trace.text();
    EXPECT_THAT(traced, HasSubstr("want_to_go_back = true\n"));
    EXPECT_THAT(traced, HasSubstr("SHSendBackToFocusWindow\n"));
}

TEST_F(BackKey, UsedByTheFormItStays)
{
    pad.takes_keys = true;
    back();
    EXPECT_TRUE(in_front());
    EXPECT_THAT(pad.events, ElementsAre("key 8", "key 11", "keyup 8", "keyup 11"));
}

TEST_F(BackKey, AFormWithAnOwnerNeverLeaves)
{
    Dialog d(menus_skin, clicks, &form);
    bring_forward(d.form);
    ASSERT_NE(bar_of(d.form), platform::no_window);
    back();
    EXPECT_EQ(platform::active_window(), d.form.window().handle());
}

TEST_F(BackKey, InAnEditBoxItDeletesACharacterAndNothingElse)
{
    platform::WindowParams params;
    params.class_name = u"edit";
    params.style = platform::ws::child | platform::ws::visible;
    params.parent = form.window().handle();
    params.x = 130;
    params.width = 100;
    params.height = 20;
    const platform::Window edit = platform::create_window(params);
    platform::set_edit_text(edit, u"abc");
    platform::set_focus(edit);
    back();
    back();
    EXPECT_EQ(platform::window_text(edit), u"a");
    EXPECT_TRUE(in_front());
    EXPECT_THAT(pad.events, Not(::testing::Contains("key 8")));
    platform::destroy_window(edit);
}

}
