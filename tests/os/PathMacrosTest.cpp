#include "os/PathMacros.h"

#include "liba/Path.h"
#include "platform/core/Utf8.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::u16string wide(const std::string& s)
{
    return platform::from_utf8(s);
}

// A home folder of its own, with the user folders redirected into it.
struct FakeHome {
    test::TempDir dir;
    test::EnvironmentOverride home { "HOME", dir.path().c_str() };
    test::EnvironmentOverride config { "XDG_CONFIG_HOME", nullptr };
    test::EnvironmentOverride data { "XDG_DATA_HOME", nullptr };
    test::EnvironmentOverride documents { "XDG_DOCUMENTS_DIR", nullptr };
    test::EnvironmentOverride app { "ORVANTA_APP_PATH", "/opt/orvanta" };
};

}

TEST(PathMacros, ProgramFile)
{
    FakeHome home;
    std::u16string full = os::get_module_file_name();
    EXPECT_EQ(liba::get_directory(full), u"/opt/orvanta/");
    EXPECT_FALSE(liba::get_file_name(full).empty());
    EXPECT_EQ(os::expand_path_macros(u"%app_path%\\skins"), u"/opt/orvanta/skins");
    EXPECT_EQ(os::expand_path_macros(u"%app_full_name%.txt"), full + u".txt");
    EXPECT_EQ(os::expand_path_macros(u"%app_name%"), liba::get_file_name(full));
    EXPECT_EQ(os::expand_path_macros(u"%program_files%"), u"/opt");
}

TEST(PathMacros, SpecialFolders)
{
    FakeHome home;
    std::u16string h = wide(home.dir.path());
    // Without user-dirs.dirs, documents are the home folder.
    EXPECT_EQ(os::expand_path_macros(u"%my_documents%/Music\\a.mp3"), h + u"/Music/a.mp3");
    home.dir.write(".config/user-dirs.dirs", "# comment\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n");
    EXPECT_EQ(os::get_special_folder(os::folder_personal), h + u"/Docs");
    EXPECT_EQ(os::expand_path_macros(u"%windows%"), h + u"/.local/share/orvanta");
    EXPECT_EQ(os::expand_path_macros(u"%startup%"), h + u"/.config/autostart");
    EXPECT_EQ(os::expand_path_macros(u"%programs%"), h + u"/.local/share/applications");
    EXPECT_EQ(os::expand_path_macros(u"%start_menu%"), h + u"/.local/share/applications");
    EXPECT_EQ(os::get_special_folder(99), u"");
    {
        test::EnvironmentOverride config("XDG_CONFIG_HOME", (home.dir.path() + "/elsewhere").c_str());
        home.dir.write("elsewhere/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"/srv/docs/\"\n");
        EXPECT_EQ(os::get_special_folder(os::folder_personal), u"/srv/docs");
    }
}

TEST(PathMacros, OnlyAtTheStartAndInTheirOwnCase)
{
    FakeHome home;
    EXPECT_EQ(os::expand_path_macros(u"%MY_DOCUMENTS%\\x"), u"%MY_DOCUMENTS%/x");
    EXPECT_EQ(os::expand_path_macros(u"\\a\\%app_path%"), u"/a/%app_path%");
    EXPECT_EQ(os::expand_path_macros(u"%app_path"), u"%app_path");
    std::u16string out = u"old";
    os::expand_path(u"a\\b", out);
    EXPECT_EQ(out, u"a/b");
}

TEST(PathMacros, ComparisonsSeeMacrosOnlyWhereTheCallerExpandsThem)
{
    FakeHome home;
    std::u16string h = wide(home.dir.path());
    EXPECT_TRUE(liba::paths_equal(os::expand_path_macros(u"%my_documents%\\A\\"), h + u"/A"));
    EXPECT_FALSE(liba::paths_equal(os::expand_path_macros(u"%my_documents%\\A\\"), h + u"/a"));
    EXPECT_TRUE(liba::is_path_under(os::expand_path_macros(u"%my_documents%"), h + u"/A/b.wav"));
    // Comparing reads no environment: a macro is text like any other.
    EXPECT_FALSE(liba::paths_equal(u"%my_documents%", h));
    EXPECT_TRUE(liba::paths_equal(u"%my_documents%\\A\\", u"%my_documents%/A"));
}
