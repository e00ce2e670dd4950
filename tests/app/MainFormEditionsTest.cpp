#include "app/MainForm.h"
#include "model/Document.h"
#include "os/Application.h"
#include "os/Registry.h"
#include "platform/core/Resources.h"
#include "platform/core/Service.h"
#include "platform/core/Utf8.h"
#include "platform/core/headless/FakeClock.h"
#include "platform/ui/headless/HeadlessDisplay.h"
#include "platform/ui/Input.h"
#include "platform/ui/MenuBar.h"
#include "platform/ui/WindowManager.h"
#include "skinner/core/MenuEntry.h"
#include "skinner/skin/Edition.h"
#include "skinner/widgets/buttons/ControlButtonBase.h"
#include "skinner/widgets/buttons/ControlButtonImpl.h"
#include "skinner/menus/MenuBarResources.h"
#include "skinner/menus/SoftKeyMenu.h"
#include "skinner/skin/Properties.h"
#include "tests/skinner/EditionOnly.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

std::string narrow(std::u16string_view text)
{
    return platform::to_utf8(text);
}

// The main form of the program's main skin in an empty home, on a headless
// screen, shown as start-up shows it.
class MainFormEditions : public ::testing::Test {
protected:
    MainFormEditions() { skinner::add_menu_bar_resources(platform::program_resources()); }

    // The program folder's skins and texts, before anything reads them.
    bool copy_program_folder() const
    {
        namespace fs = std::filesystem;
        const fs::path program = ORVANTA_PROGRAM_DIR;
        std::error_code error;
        fs::copy(program / "skins", fs::path(folder.path()) / "skins", fs::copy_options::recursive, error);
        if (!error)
            fs::copy_file(program / "English.lng", fs::path(folder.path()) / "English.lng", error);
        return !error;
    }

    std::u16string program_file(const std::string& relative) const
    {
        return platform::from_utf8(folder.file(relative));
    }

    // The control with the focus, inside panels as deep as it goes.
    static skinner::Control* deepest_focus(skinner::Container& container)
    {
        skinner::Control* focused = container.focused();
        if (!focused)
            return nullptr;
        if (skinner::Container* inner = focused->get_container())
            if (skinner::Control* deeper = deepest_focus(*inner))
                return deeper;
        return focused;
    }

    // Every control the user works, by id: those that want the focus, and
    // the buttons and check boxes the edition put on the soft keys.
    static void collect(skinner::Container& container, std::set<std::u16string>& focusable,
        std::set<std::u16string>& listed, const skinner::MenuManager& menu)
    {
        for (skinner::Control* child : container.children()) {
            if (!child->is_visible() || !child->is_enabled())
                continue;
            auto* button = dynamic_cast<skinner::ControlButtonBase*>(child);
            auto* item = button ? dynamic_cast<skinner::MenuManager::Item*>(button->impl()) : nullptr;
            if (item && std::ranges::find(menu.items(), item) != menu.items().end())
                listed.insert(child->id());
            else if (child->wants_focus())
                focusable.insert(child->id());
            if (skinner::Container* inner = child->get_container())
                collect(*inner, focusable, listed, menu);
        }
    }

    static void ids_of(const skinner::MenuEntry& entry, std::set<std::u16string>& ids)
    {
        ids.insert(entry.id);
        for (const skinner::MenuEntry& child : entry.children)
            ids_of(child, ids);
    }

    test::TempDir folder;
    test::TempDir home;
    const bool copied = copy_program_folder();
    test::EnvironmentOverride app_path { "ORVANTA_APP_PATH", folder.path().c_str() };
    test::EnvironmentOverride home_env { "HOME", home.path().c_str() };
    test::EnvironmentOverride config { "XDG_CONFIG_HOME", home.file("config").c_str() };
    test::EnvironmentOverride data { "XDG_DATA_HOME", home.file("data").c_str() };
    os::ScopedRegistryFile registry { home.file("registry") };
    os::Application application { u"OrvantaEditions" };
    platform::ScopedService<platform::Clock, platform::headless::FakeClock> clock { platform::clock_slot(), 10000 };
    platform::ScopedService<platform::Display, platform::headless::HeadlessDisplay> screen {
        platform::display_slot(), platform::ScreenMode {}
    };
    Document document;
    skinner::Properties skin { program_file("skins/Default/Default.skin"), { 240, 320 } };
};

TEST_F(MainFormEditions, TheMainFormLooksAsItsEditionShowsIt)
{
    ASSERT_TRUE(copied);
    ASSERT_TRUE(skin.load_language(program_file("English.lng")));
    // The device's root without folders: an explorer that looks the same on every run.
    document.get_settings().explorer_folder = u"/";
    document.get_settings().show_folders = false;
    MainForm form(skin, u"Main");
    form.show(true);
    document.notify(Document::Changes(true, true, true, true));
    screen->run_until_idle();
    const char* name = skinner::is_smartphone ? "main-form-smartphone"
        : skinner::uses_soft_keys             ? "main-form-pocketpc-softkeys"
                                              : "main-form-pocketpc";
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), name));
}

TEST_F(MainFormEditions, WithoutATouchScreenKeysReachEveryControl)
{
    ORVANTA_SMARTPHONE_ONLY();
    ASSERT_TRUE(skin.load_language(program_file("English.lng")));
    MainForm form(skin, u"Main");
    form.show(true);
    screen->run_until_idle();

    std::set<std::u16string> focusable;
    std::set<std::u16string> listed;
    collect(form, focusable, listed, form.menu_items());
    EXPECT_FALSE(listed.empty());

    // The soft keys offer every button and check box that left the screen.
    skinner::MenuEntry left(u"#FakeIdSoft1#", u"");
    skinner::SoftKeyMenu::fill_left(form.menu_items(), skin.translator(), left);
    skinner::MenuEntry right(u"#FakeIdSoft2#", u"");
    skinner::SoftKeyMenu::fill_right(form.menu_items(), skin.translator(), right);
    std::set<std::u16string> on_keys;
    ids_of(left, on_keys);
    ids_of(right, on_keys);
    for (const std::u16string& id : listed)
        EXPECT_TRUE(on_keys.contains(id)) << narrow(id) << " is on neither soft key";
    EXPECT_TRUE(on_keys.contains(u"File")) << "the main menu's own buttons";

    // Tab visits every other control, panels' included.
    std::set<std::u16string> visited;
    for (std::size_t press = 0; press < 3 * (focusable.size() + 1); ++press) {
        screen->key(platform::vk::tab);
        screen->run_until_idle();
        if (skinner::Control* focused = deepest_focus(form))
            visited.insert(focused->id());
    }
    for (const std::u16string& id : focusable) {
        // A panel is passed through to its children.
        const skinner::Control* control = form.get_control(id);
        if (control && const_cast<skinner::Control*>(control)->get_container())
            continue;
        EXPECT_TRUE(visited.contains(id)) << narrow(id) << " is never reached by Tab";
    }
}

}
