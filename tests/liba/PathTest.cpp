#include "liba/Path.h"

#include <gtest/gtest.h>

using namespace liba;

TEST(Path, StringFunctions)
{
    struct {
        std::u16string path, directory, name, extension, without_extension, parent, title;
    } cases[] = {
        { u"\\a.b\\c", u"\\a.b\\", u"c", u"", u"\\a.b\\c", u"\\a.b\\", u"c" },
        { u"\\a\\c.tar.gz", u"\\a\\", u"c.tar.gz", u"gz", u"\\a\\c.tar", u"\\a\\", u"c.tar" },
        { u"a/b\\c", u"a/b\\", u"c", u"", u"a/b\\c", u"a/b\\", u"c" },
        { u"name.txt", u"", u"name.txt", u"txt", u"name", u"", u"name" },
        { u"/a/b/", u"/a/b/", u"", u"", u"/a/b/", u"/a/", u"" },
        { u"/", u"/", u"", u"", u"/", u"", u"" },
        { u"", u"", u"", u"", u"", u"", u"" },
        { u"/x/.hidden", u"/x/", u".hidden", u"hidden", u"/x/", u"/x/", u"" },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path.begin(), c.path.end()));
        EXPECT_EQ(get_directory(c.path), c.directory);
        EXPECT_EQ(get_file_name(c.path), c.name);
        EXPECT_EQ(get_extension(c.path), c.extension);
        EXPECT_EQ(remove_extension(c.path), c.without_extension);
        EXPECT_EQ(get_parent_directory(c.path), c.parent);
        EXPECT_EQ(get_file_title(c.path), c.title);
    }
    EXPECT_EQ(find_extension_dot(u"/a.b/c"), std::nullopt);
    EXPECT_EQ(find_extension_dot(u"/a/c.d"), 4u);
}

TEST(Path, JoinChangeAndTrailingSeparator)
{
    EXPECT_EQ(join_path(u"\\x\\", u"y"), u"\\x/y");
    EXPECT_EQ(join_path(u"/x", u"y"), u"/x/y");
    EXPECT_EQ(join_path(u"", u"y"), u"y");
    EXPECT_EQ(join_path(u"/", u"y"), u"/y");
    EXPECT_EQ(change_extension(u"/a/b.wav", u"mp3"), u"/a/b.mp3");
    EXPECT_EQ(change_extension(u"/a.d/b", u"mp3"), u"/a.d/b.mp3");
    EXPECT_EQ(remove_trailing_separator(u"/a//"), u"/a/");
    EXPECT_EQ(remove_trailing_separator(u"\\a\\"), u"\\a");
    EXPECT_EQ(remove_trailing_separator(u""), u"");
    // The root stays the root, so the program folder can be "/".
    EXPECT_EQ(remove_trailing_separator(u"/"), u"/");
}

TEST(Path, ComparingFilePathsKeepsCase)
{
    EXPECT_TRUE(paths_equal(u"\\a\\b\\", u"/a/b"));
    EXPECT_FALSE(paths_equal(u"/a/B", u"/a/b"));
    EXPECT_TRUE(names_equal(u"Skins\\Main.SKIN", u"skins/main.skin"));
    EXPECT_TRUE(names_equal(u"\u00C9T\u00C9", u"\u00E9t\u00E9"));
}

TEST(Path, UnderAFolderByWholeComponents)
{
    struct {
        std::u16string folder, path;
        bool under;
    } cases[] = {
        { u"/Storage/Music", u"/Storage/Music/a.mp3", true },
        { u"/Storage/Music/", u"/Storage/Music", true },
        { u"/Storage/Music", u"/Storage/Music", true },
        { u"\\Storage\\Music", u"/Storage/Music/x", true },
        { u"/Storage/Mus", u"/Storage/Music/a.mp3", false }, // only a prefix of a name
        { u"/Storage/Music", u"/Storage/music/a.mp3", false },
        { u"/Storage/Music/a", u"/Storage/Music", false },
        { u"/", u"/anything", true },
        { u"", u"/anything", true },
    };

    for (const auto& c : cases) {
        EXPECT_EQ(is_path_under(c.folder, c.path), c.under) << std::string(
            c.folder.begin(), c.folder.end()) << " " << std::string(c.path.begin(), c.path.end());
    }
}
