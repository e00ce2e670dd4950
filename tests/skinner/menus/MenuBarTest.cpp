#include "skinner/menus/ControlMenuMain.h"
#include "skinner/menus/MenuBarResources.h"
#include "skinner/menus/MenuMainButton.h"
#include "skinner/menus/MenuMainSubMenu.h"
#include "skinner/menus/MenuManagerImplPocket.h"

#include "os/Registry.h"
#include "platform/core/MessageQueue.h"
#include "platform/core/Resources.h"
#include "platform/ui/Input.h"
#include "platform/ui/MenuBar.h"
#include "platform/ui/Screen.h"
#include "skinner/core/FormImpl.h"
#include "tests/skinner/MenuFormScreen.h"
#include "tests/skinner/TraceCapture.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TempDir.h"
#include "tests/skinner/EditionOnly.h"

#include <gmock/gmock.h>

#include <fstream>
#include <memory>

using namespace skinner;
using ::testing::HasSubstr;

namespace {

// A form with a main menu, listened to by the test.
struct BarForm {
    BarForm(Properties& skin, test::CommandLog& listener, bool visible = true)
        : form(nullptr, std::make_unique<FormImpl>(nullptr, false, visible), skin, u"Bar", &listener)
    {
    }

    MenuManagerImplPocket& manager() const
    {
        return static_cast<MenuManagerImplPocket&>(*form.window().menu_manager());
    }

    platform::Window bar() const { return manager().bar(); }

    Form form;
    ControlMenuMain main { form, u"MainMenu" };
};

class MenuBar : public test::MenuFormScreen {
protected:
    static void SetUpTestSuite() { add_menu_bar_resources(platform::program_resources()); }

    // What the bar shows, one line a button: "text/image/state/style" or "|".
    static std::vector<std::string> buttons(platform::Window bar)
    {
        std::vector<std::string> out;
        for (int i = 0; i < platform::toolbar_button_count(bar); ++i) {
            auto b = platform::toolbar_button(bar, i);
            if (b->style & platform::tbstyle::separator) {
                out.push_back("|");
                continue;
            }
            out.push_back(test::narrow(b->text) + "/" + std::to_string(b->image) + "/" + std::to_string(b->state) + "/"
                + std::to_string(b->style) + (b->menu != platform::no_menu ? "/menu" : ""));
        }
        return out;
    }

    // Changes show on the bar after the form's next message.
    void next_message(const BarForm& f)
    {
        platform::post_message(f.form.window().handle(), platform::msg::user, 0, 0);
        run();
    }

    void command(const BarForm& f, platform::WParam id)
    {
        platform::send_message(f.form.window().handle(), platform::msg::command, id, 0);
    }

    void tap_button(const BarForm& f, int index)
    {
        auto r = platform::toolbar_item_rect(f.bar(), index);
        ASSERT_TRUE(r);
        screen->tap({ (r->left + r->right) / 2, (r->top + r->bottom) / 2 });
    }

    test::TempDir dir;
    os::ScopedRegistryFile registry { dir.file("registry") };
    test::CommandLog listener;
};

}

TEST_F(MenuBar, ButtonsFollowTheirOrderWithTheirTextsImagesAndSeparators)
{
    ORVANTA_WITHOUT_SOFT_KEYS();
    test::TraceCapture trace(dir);
    BarForm f(menus_skin, listener);
    MenuMainButton last(f.form, u"Last", u"L&a&st", 4);
    MenuMainSubMenu file(f.form, u"File", u"&File", 1);
    MenuMainButton mode(f.form, u"Mode", u"", 2);
    MenuMainButton bad(f.form, u"Bad", u"Bad", 3);
    mode.set_image_index(2);
    mode.set_separator_after(true);
    bad.set_image_index(17); // one past the strip's seventeen images
    bad.set_enabled(false);
    last.set_separator_after(true);
    run();

    ASSERT_NE(f.bar(), platform::no_window);
    EXPECT_THAT(buttons(f.bar()),
        ::testing::ElementsAre("File/-2/4/152/menu", "/2/4/0", "|", "Bad/-2/0/16", "Last/-2/4/16"))
        << "no separator after the last button";
    EXPECT_THAT(trace.text(),
        HasSubstr("wince_bug_resource_id=17 text=Bad id=Bad\n"
                  "ERROR: invalid toolbar image requested. wince_bug_resource_id=17\n"));

    // A hidden button leaves the bar; shown again, it takes its place back.
    file.set_visible(false);
    next_message(f);
    EXPECT_EQ(buttons(f.bar()).front(), "/2/4/0");
    file.set_visible(true);
    next_message(f);
    EXPECT_EQ(buttons(f.bar()).front(), "File/-2/4/152/menu");
}

TEST_F(MenuBar, CommandsReachTheButtonsOwnersAndOthersAreIgnored)
{
    ORVANTA_WITHOUT_SOFT_KEYS();
    BarForm f(menus_skin, listener);
    MenuMainButton play(f.form, u"Play", u"Play", 1);
    MenuMainButton stop(f.form, u"Stop", u"Stop", 2);
    run();

    // Bar buttons are numbered from 100; 99 and the first number past them mean nothing.
    for (platform::WParam id : { 99u, 100u, 101u, 102u, 0u, 65535u })
        command(f, id);
    EXPECT_EQ(listener.commands, (std::vector<std::u16string> { u"Play", u"Stop" }));

    listener.commands.clear();
    tap_button(f, 1);
    run();
    EXPECT_EQ(listener.commands, (std::vector<std::u16string> { u"Stop" }));
}

TEST_F(MenuBar, ADropDownIsFilledByItsOwnerEachTimeItOpens)
{
    ORVANTA_WITHOUT_SOFT_KEYS();
    BarForm f(menus_skin, listener);
    MenuMainSubMenu file(f.form, u"File", u"File", 1);
    MenuMainButton mode(f.form, u"Mode", u"Mode", 2);
    run();
    listener.drop_down = { MenuEntry(u"Open", u"&Open"), MenuEntry(u"Quit", u"Quit") };
    tap_button(f, 0);
    screen->key(platform::vk::down).key(platform::vk::down).key(platform::vk::enter);
    run();
    EXPECT_EQ(listener.built, (std::vector<std::u16string> { u"File" }));
    EXPECT_EQ(listener.commands, (std::vector<std::u16string> { u"Quit" }));

    // The next opening drops the previous drop-down's commands.
    listener.drop_down = { MenuEntry(u"Close", u"Close") };
    tap_button(f, 0);
    screen->key(platform::vk::down).key(platform::vk::enter);
    run();
    EXPECT_EQ(listener.commands, (std::vector<std::u16string> { u"Quit", u"Close" }));
    command(f, 103);
    EXPECT_EQ(listener.commands.size(), 2u) << "a command of the dropped menu";

    // Requests for items outside the list change nothing.
    platform::Menu menu = platform::create_popup_menu();
    platform::append_menu(menu, 0, 5u, u"kept");
    for (std::uint32_t item : { 99u, 102u })
        f.manager().on_init_menu_popup(f.form, menu, item);
    EXPECT_EQ(platform::menu_item_count(menu), 1);
    platform::destroy_menu(menu);
}

TEST_F(MenuBar, AHiddenFormGetsItsBarOnceShown)
{
    ORVANTA_WITHOUT_SOFT_KEYS();
    BarForm f(menus_skin, listener, false);
    MenuMainButton play(f.form, u"Play", u"Play", 1);
    run();
    EXPECT_EQ(f.bar(), platform::no_window);
    f.form.show(true);
    run();
    ASSERT_NE(f.bar(), platform::no_window);
    EXPECT_THAT(buttons(f.bar()), ::testing::ElementsAre("Play/-2/4/16"));
}

TEST_F(MenuBar, FiveFormsHoldBarsAtOnceAndTheLastTemplateReturnedIsTakenFirst)
{
    ORVANTA_WITHOUT_SOFT_KEYS();
    std::vector<std::unique_ptr<BarForm>> forms;
    for (int i = 0; i < 5; ++i) {
        forms.push_back(std::make_unique<BarForm>(menus_skin, listener));
        run();
    }
    std::vector<std::uint32_t> ids;
    for (auto& f : forms)
        ids.push_back(*f->manager().template_id());
    EXPECT_EQ(ids, (std::vector<std::uint32_t> { 121, 120, 119, 118, 117 }));
    forms[3].reset();
    forms[1].reset();
    forms.push_back(std::make_unique<BarForm>(menus_skin, listener));
    run();
    EXPECT_EQ(forms.back()->manager().template_id(), 120u);

    EXPECT_EXIT(
        {
            forms.push_back(std::make_unique<BarForm>(menus_skin, listener));
            run();
            forms.push_back(std::make_unique<BarForm>(menus_skin, listener));
            run();
        },
        ::testing::ExitedWithCode(70), "Add more tolbar ids to the resource file! :\\)");
}

TEST_F(MenuBar, TheBarLooksAsStored)
{
    ORVANTA_WITHOUT_SOFT_KEYS();
    BarForm f(menus_skin, listener);
    MenuMainSubMenu file(f.form, u"File", u"File", 1);
    MenuMainButton mode(f.form, u"Mode", u"", 2);
    MenuMainButton cut(f.form, u"Cut", u"", 3);
    MenuMainButton paste(f.form, u"Paste", u"", 4);
    MenuMainButton remove(f.form, u"Delete", u"", 5);
    mode.set_image_index(4);
    mode.set_separator_after(true);
    cut.set_image_index(11);
    paste.set_image_index(13);
    remove.set_image_index(16);
    paste.set_enabled(false);
    run();
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), "menu-bar"));
}

namespace {

// A 480 x 640 screen at 192 dpi.
class MenuBarHighDpi : public ::testing::Test {
protected:
    static void SetUpTestSuite() { add_menu_bar_resources(platform::program_resources()); }

    platform::ScopedService<platform::Clock, platform::headless::FakeClock> clock { platform::clock_slot(), 10000 };
    platform::ScopedService<platform::Display, platform::headless::HeadlessDisplay> screen {
        platform::display_slot(), platform::ScreenMode { { 480, 640 }, 192 }
    };
    Properties menus_skin { platform::from_utf8(ORVANTA_MENUS_SKIN), { 480, 640 } };
    test::CommandLog listener;
};

}

TEST_F(MenuBarHighDpi, ImagesComeFromTheLargeStrip)
{
    ORVANTA_WITHOUT_SOFT_KEYS();
    BarForm f(menus_skin, listener);
    MenuMainButton mode(f.form, u"Mode", u"", 1);
    mode.set_image_index(16);
    screen->run_until_idle();
    auto b = platform::toolbar_button(f.bar(), 0);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->image, 16) << "seventeen images of 32 x 32";
    auto r = platform::toolbar_item_rect(f.bar(), 0);
    ASSERT_TRUE(r);
    EXPECT_GE(r->width(), 32);
    // The delete cross is red at its centre and eight pixels down an arm, past a small image.
    platform::Point centre { (r->left + r->right) / 2, (r->top + r->bottom) / 2 };
    EXPECT_EQ(screen->pixel(centre), platform::rgb(0xF0, 0x64, 0x5A));
    EXPECT_EQ(screen->pixel({ centre.x + 8, centre.y + 8 }), platform::rgb(0xF0, 0x64, 0x5A));
}

TEST_F(MenuBar, ButtonTextsAreTranslatedUnderTheirIdsAgainAtEveryLanguage)
{
    ORVANTA_WITHOUT_SOFT_KEYS();
    const std::string german = dir.file("German.lng");
    const std::string french = dir.file("French.lng");
    std::ofstream(german) << "File &Datei\nMode Modus\n";
    std::ofstream(french) << "File &Fichier\n";
    ASSERT_TRUE(menus_skin.load_language(platform::from_utf8(german)));
    BarForm f(menus_skin, listener);
    MenuMainSubMenu file(f.form, u"File", u"&File", 1);
    MenuMainButton mode(f.form, u"Mode", u"", 2);
    MenuMainButton stop(f.form, u"Stop", u"Stop", 3);
    run();
    EXPECT_THAT(buttons(f.bar()), ::testing::ElementsAre("Datei/-2/4/152/menu", "/-2/4/0", "Stop/-2/4/16"))
        << "an empty text stays empty; an untranslated one stays as it is";

    ASSERT_TRUE(menus_skin.load_language(platform::from_utf8(french)));
    next_message(f);
    EXPECT_EQ(buttons(f.bar()).front(), "Fichier/-2/4/152/menu");
}

TEST_F(MenuBar, ABarThatCannotBeMadeGivesItsTemplateBackAndIsTriedAgain)
{
    ORVANTA_WITHOUT_SOFT_KEYS();
    // Resources without the bar templates: no bar can be made.
    const platform::Resources kept = platform::program_resources();
    platform::program_resources() = platform::Resources {};
    std::vector<std::unique_ptr<BarForm>> forms;
    for (int i = 0; i < 6; ++i) {
        forms.push_back(std::make_unique<BarForm>(menus_skin, listener));
        run();
        EXPECT_EQ(forms.back()->bar(), platform::no_window);
        EXPECT_FALSE(forms.back()->manager().template_id()) << "a sixth form would end the program";
    }
    platform::program_resources() = kept;

    MenuMainButton play(forms[0]->form, u"Play", u"Play", 1);
    next_message(*forms[0]);
    ASSERT_NE(forms[0]->bar(), platform::no_window);
    EXPECT_THAT(buttons(forms[0]->bar()), ::testing::ElementsAre("Play/-2/4/16"));
}
