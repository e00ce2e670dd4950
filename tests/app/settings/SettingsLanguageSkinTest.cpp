#include "app/settings/SettingsLanguage.h"
#include "app/settings/SettingsSkin.h"
#include "os/PathMacros.h"
#include "tests/app/settings/SettingsScreen.h"
#include "tests/support/Screenshot.h"

namespace {

using test::SettingsScreen;

// A few texts of a second language; the rest stay keys.
constexpr const char* german = "// test language\n"
                               "form.SettingPages.tabRecording.Text Aufnahme\n"
                               "form.PageLanguage.lblLanguage.Text Sprache\n"
                               "form.Main.Caption.Text Orvanta\n"
                               "on_skin_not_loaded Die Oberfl\xe4" "che bleibt.\n"
                               "on_skin_not_loaded_caption Oberfl\xe4" "che\n";

// The main window's skin, and a form of it that owns the settings form.
class MainSkinScreen : public SettingsScreen {
protected:
    MainSkinScreen()
    {
        app.write("Deutsch.lng", german);
        main_skin.load_skin_and_language(app_file("skins/Default/Default.skin"), app_file("English.lng"), { 240, 320 });
        main_form = std::make_unique<skinner::Form>(nullptr, main_skin, u"Clock");
        owner = main_form.get();
    }

    static skinner::ControlComboBoxStringReadonly& combo(SettingsForm& form, Page page, std::u16string_view id)
    {
        return control<skinner::ControlComboBoxStringReadonly>(form, page, id);
    }

    static void choose(skinner::ControlComboBoxStringReadonly& combo, std::u16string_view text)
    {
        const auto found = std::find(combo.items.begin(), combo.items.end(), text);
        ASSERT_NE(found, combo.items.end()) << platform::to_utf8(text);
        combo.set_current(std::int32_t(found - combo.items.begin()));
    }

    // Another main skin beside the default one: the default's file and pictures under other names.
    void add_main_skin(const std::string& name)
    {
        copy_program_file("skins/Default", "skins/" + name);
        std::filesystem::rename(app.file("skins/" + name + "/Default.skin"), app.file("skins/" + name + "/" + name + ".skin"));
        std::filesystem::remove(app.file("skins/" + name + "/Default_preview.png"));
    }

    skinner::Properties main_skin;
    std::unique_ptr<skinner::Form> main_form;
    skinner::Form* owner = nullptr;
};

using LanguagePage = MainSkinScreen;

TEST_F(LanguagePage, ListsTheLanguageFilesAndShowsTheRecordsOneWhateverItsCase)
{
    app.write("Notes.txt", "not a language");
    app.write("skins/Nested.lng", "deeper files are not listed");
    settings.language = u"deutsch";
    SettingsForm form(owner, settings_skin, settings);
    auto& languages = combo(form, language, u"cbLanguage");
    EXPECT_EQ(languages.items, (std::vector<std::u16string> { u"Deutsch", u"English" }));
    EXPECT_EQ(languages.face().text(), u"Deutsch");
    // Saving it unchanged stores the shown name, which loads the language once.
    close(form);
    EXPECT_EQ(settings.language, u"Deutsch");
    EXPECT_EQ(main_skin.translate(u"form.SettingPages.tabRecording.Text"), u"Aufnahme");
}

TEST_F(LanguagePage, AChosenLanguageIsInForceInBothSkinsOnClose)
{
    SettingsForm form(owner, settings_skin, settings);
    choose(combo(form, language, u"cbLanguage"), u"Deutsch");
    EXPECT_EQ(settings_skin.translate(u"form.PageLanguage.lblLanguage.Text"), u"Language of the program");
    close(form);
    EXPECT_EQ(settings.language, u"Deutsch");
    EXPECT_EQ(main_skin.translate(u"form.PageLanguage.lblLanguage.Text"), u"Sprache");
    EXPECT_EQ(settings_skin.translate(u"form.PageLanguage.lblLanguage.Text"), u"Sprache");
    // The settings form itself was refreshed with the new texts.
    EXPECT_EQ(form.tab().pages()[recording]->title(), u"Aufnahme");
}

TEST_F(LanguagePage, ALanguageThatDoesNotLoadKeepsTheOneInUse)
{
    SettingsForm form(owner, settings_skin, settings);
    choose(combo(form, language, u"cbLanguage"), u"Deutsch");
    std::filesystem::remove(app.file("Deutsch.lng")); // gone since the list was made
    close(form);
    EXPECT_EQ(settings.language, u"English");
    EXPECT_EQ(main_skin.translate(u"form.PageLanguage.lblLanguage.Text"), u"Language of the program");
    EXPECT_EQ(settings_skin.translate(u"form.PageLanguage.lblLanguage.Text"), u"Language of the program");
}

TEST_F(LanguagePage, WithoutLanguageFilesTheRecordsLanguageStays)
{
    std::filesystem::remove(app.file("Deutsch.lng"));
    std::filesystem::remove(app.file("English.lng"));
    SettingsForm form(owner, settings_skin, settings);
    EXPECT_TRUE(combo(form, language, u"cbLanguage").items.empty());
    close(form);
    EXPECT_EQ(settings.language, u"English");
    EXPECT_EQ(main_skin.translate(u"form.PageLanguage.lblLanguage.Text"), u"Language of the program");
}

class SkinPage : public MainSkinScreen {
protected:
    std::u16string today_skin_in_force()
    {
        std::u16string path = u"<none>";
        os::registry_read_string(u"HKEY_LOCAL_MACHINE\\SOFTWARE\\APPS\\Qiro Orvanta", u"TodaySkin", path);
        return path;
    }

    std::uint32_t today_item_enabled()
    {
        std::uint32_t enabled = 7;
        os::registry_read_dword(u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Today\\Items\\Orvanta", u"Enabled", enabled);
        return enabled;
    }
};

TEST_F(SkinPage, ListsMainAndTodaySkinsByTheirEntry)
{
    add_main_skin("Other");
    // A Today skin in a folder of its own is found by the search of "skins" only;
    // the one of "TodayPlugin" is found by both searches and listed once.
    copy_program_file("skins/TodayPlugin", "skins/Strip");
    std::filesystem::rename(app.file("skins/Strip/Default.skin"), app.file("skins/Strip/Strip.skin"));
    app.write("skins/Other/notes.skin", "not a skin at all");
    SettingsForm form(owner, settings_skin, settings);
    SettingsSkin& page = form.skin_page();
    EXPECT_EQ(page.main_skins(),
        (std::vector<std::u16string> { u"%app_path%/skins/Default/Default.skin", u"%app_path%/skins/Other/Other.skin" }));
    EXPECT_EQ(page.today_skins(),
        (std::vector<std::u16string> { u"%app_path%/skins/Strip/Strip.skin", u"%app_path%/skins/TodayPlugin/Default.skin",
            u"%windows%/Today Default.skin" }));
    EXPECT_EQ(combo(form, skin, u"cmbMain").items, (std::vector<std::u16string> { u"Default", u"Other" }));
    EXPECT_EQ(combo(form, skin, u"cmbMain").get_current(), 0) << "the record's skin, with its macro";
    EXPECT_EQ(combo(form, skin, u"cmbToday").get_current(), 2) << "the default Today skin is in force";

    // The default skins have previews; the copy has none.
    auto& preview = control<skinner::ControlFrame>(form, skin, u"frmMainPreview");
    EXPECT_FALSE(preview.picture().is_empty());
    choose(combo(form, skin, u"cmbMain"), u"Other");
    EXPECT_TRUE(preview.picture().is_empty());
    auto& today_preview = control<skinner::ControlFrame>(form, skin, u"frmTodayPreview");
    EXPECT_TRUE(today_preview.picture().is_empty()) << "no file, no preview";
    choose(combo(form, skin, u"cmbToday"), u"Default");
    EXPECT_FALSE(today_preview.picture().is_empty());
}

TEST_F(SkinPage, TheSearchLeavesOutLinkedFoldersAndTheSystemFolder)
{
    // A link back up would never end; skins under %windows% are not offered.
    std::filesystem::create_directory_symlink("../..", app.file("skins/Default/up"));
    add_main_skin("Other");
    std::filesystem::create_directory_symlink(app.file("skins/Other"), app.file("skins/Linked"));
    test::EnvironmentOverride system_inside_skins { "XDG_DATA_HOME", app.file("skins").c_str() };
    std::filesystem::create_directories(app.file("skins/orvanta"));
    copy_program_file("skins/Default", "skins/orvanta/Default");
    SettingsForm form(owner, settings_skin, settings);
    EXPECT_EQ(form.skin_page().main_skins(),
        (std::vector<std::u16string> { u"%app_path%/skins/Default/Default.skin", u"%app_path%/skins/Other/Other.skin" }));
}

TEST_F(SkinPage, AChosenMainSkinIsLoadedOnClose)
{
    add_main_skin("Other");
    SettingsForm form(owner, settings_skin, settings);
    choose(combo(form, skin, u"cmbMain"), u"Other");
    EXPECT_EQ(main_skin.impl().path(), app_file("skins/Default/Default.skin"));
    close(form);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(settings.skin, u"%app_path%/skins/Other/Other.skin") << "stored with its macro";
    EXPECT_EQ(os::expand_path_macros(main_skin.impl().path()), app_file("skins/Other/Other.skin"));
    EXPECT_TRUE(main_skin.impl().is_valid());
}

TEST_F(SkinPage, ASkinThatFailsToLoadKeepsTheOneInUseAndSaysSoInTheNewLanguage)
{
    // A whole header, then nothing: listed, but it does not load.
    add_main_skin("Broken");
    const std::string broken = app.file("skins/Broken/Broken.skin");
    std::filesystem::resize_file(broken, std::filesystem::file_size(broken) / 3);
    const std::u16string before = settings.skin;
    SettingsForm form(owner, settings_skin, settings);
    choose(combo(form, language, u"cbLanguage"), u"Deutsch");
    choose(combo(form, skin, u"cmbMain"), u"Broken");
    close(form, 1);
    // The language was saved first, so the message is already German.
    EXPECT_EQ(errors, (std::vector<std::u16string> { u"Oberfl\u00e4che: Die Oberfl\u00e4che bleibt." }));
    EXPECT_EQ(settings.skin, before);
    EXPECT_EQ(main_skin.impl().path(), app_file("skins/Default/Default.skin"));
    EXPECT_TRUE(main_skin.impl().is_valid());
}

TEST_F(SkinPage, AnotherTodaySkinSwitchesTheTodayItemThroughTheRegistry)
{
    SettingsForm form(owner, settings_skin, settings);
    EXPECT_EQ(today_skin_in_force(), u"<none>");
    choose(combo(form, skin, u"cmbToday"), u"Default"); // the one of TodayPlugin
    close(form);
    EXPECT_EQ(today_skin_in_force(), app_file("skins/TodayPlugin/Default.skin"));
    EXPECT_EQ(today_item_enabled(), 1u);

    // The default Today skin is stored with its macro expanded.
    SettingsForm again(owner, settings_skin, settings);
    EXPECT_EQ(combo(again, skin, u"cmbToday").get_current(), 0);
    choose(combo(again, skin, u"cmbToday"), u"Today Default");
    close(again);
    EXPECT_EQ(today_skin_in_force(), os::expand_path_macros(u"%windows%/Today Default.skin"));
}

TEST_F(SkinPage, TheTodaySkinInForceChangesNothing)
{
    os::registry_write_dword(u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Today\\Items\\Orvanta", u"Enabled", 5);
    SettingsForm form(owner, settings_skin, settings);
    close(form);
    EXPECT_EQ(today_item_enabled(), 5u);
    EXPECT_EQ(today_skin_in_force(), u"<none>");
}

TEST_F(SkinPage, Looks)
{
    SettingsForm form(owner, settings_skin, settings);
    form.tab().pages()[skin]->set_visible(true);
    run();
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), "settings-skin"));
}

}
