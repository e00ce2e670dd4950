#include "os/Finder.h"

#include "os/Log.h"
#include "os/Registry.h"
#include "platform/core/StorageCards.h"
#include "platform/core/Utf8.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::u16string u16(const std::string& s)
{
    return platform::from_utf8(s);
}

// Records "F path" and "D path" relative to a root; answers false for the
// paths listed in stop_at.
class Recorder : public os::Finder {
public:
    explicit Recorder(std::string root)
        : m_root(root.empty() ? u"" : u16(root + "/"))
    {
    }

    bool on_file(const std::u16string& path) override { return note(u"F ", path); }

    bool on_folder(const std::u16string& path) override { return note(u"D ", path); }

    std::vector<std::u16string> seen;
    std::vector<std::u16string> stop_at;

private:
    bool note(std::u16string_view kind, const std::u16string& path)
    {
        std::u16string relative
            = path.compare(0, m_root.size(), m_root) == 0 ? path.substr(m_root.size()) : path;
        seen.push_back(std::u16string(kind) + relative);
        return std::find(stop_at.begin(), stop_at.end(), relative) == stop_at.end();
    }

    std::u16string m_root;
};

void make_tree(const test::TempDir& dir)
{
    for (auto name :
        { "root/b.mp3", "root/a.txt", "root/d1/x.txt", "root/d1/d11/y", "root/d1/d11/z", "root/d2/w" })
        dir.write(name, "");
}

}

TEST(Finder, FilesThenFoldersDepthFirst)
{
    test::TempDir dir;
    make_tree(dir);
    Recorder recorder(dir.file("root"));
    EXPECT_TRUE(recorder.find(u16(dir.file("root")), u"*", u"*", true));
    const std::vector<std::u16string> expected = {
        u"F a.txt",
        u"F b.mp3",
        u"D d1",
        u"F d1/x.txt",
        u"D d1/d11",
        u"F d1/d11/y",
        u"F d1/d11/z",
        u"D d2",
        u"F d2/w",
    };
    EXPECT_EQ(recorder.seen, expected);
}

TEST(Finder, FalseEndsOnlyTheFolderItWasGivenIn)
{
    test::TempDir dir;
    make_tree(dir);
    Recorder recorder(dir.file("root"));
    recorder.stop_at = { u"d1/d11/y" };
    recorder.find(u16(dir.file("root")), u"*", u"*", true);
    const std::vector<std::u16string> expected = {
        u"F a.txt",
        u"F b.mp3",
        u"D d1",
        u"F d1/x.txt",
        u"D d1/d11",
        u"F d1/d11/y",
        u"D d2",
        u"F d2/w",
    };
    EXPECT_EQ(recorder.seen, expected);

    Recorder folders(dir.file("root"));
    folders.stop_at = { u"d1" };
    folders.find(u16(dir.file("root")), u"*", u"*", true);
    EXPECT_EQ(folders.seen, (std::vector<std::u16string> { u"F a.txt", u"F b.mp3", u"D d1" }));
}

TEST(Finder, MasksAndPlainSearch)
{
    test::TempDir dir;
    make_tree(dir);
    dir.write("root/README", "");
    Recorder recorder(dir.file("root"));
    recorder.find(u16(dir.file("root")), u"*.MP3", u"d2", false);
    EXPECT_EQ(recorder.seen, (std::vector<std::u16string> { u"F b.mp3", u"D d2" }));

    Recorder all(dir.file("root"));
    all.find(u16(dir.file("root")), u"*.*", u"nothing", false);
    EXPECT_EQ(all.seen, (std::vector<std::u16string> { u"F README", u"F a.txt", u"F b.mp3" }));

    Recorder missing(dir.file("root"));
    EXPECT_TRUE(missing.find(u16(dir.file("none")), u"*", u"*", true));
    EXPECT_TRUE(missing.seen.empty());
}

TEST(Finder, ALinkLoopEnds)
{
    test::TempDir dir;
    dir.write("root/sub/file", "");
    ASSERT_EQ(symlink("..", dir.file("root/sub/up").c_str()), 0);
    ASSERT_EQ(symlink("sub", dir.file("root/again").c_str()), 0);
    Recorder recorder(dir.file("root"));
    recorder.find(u16(dir.file("root")), u"*", u"*", true);
    const std::vector<std::u16string> expected = { u"D again", u"D sub", u"F sub/file", u"D sub/up" };
    EXPECT_EQ(recorder.seen, expected);
}

TEST(Finder, StorageCardsExceptTheOneHoldingMyDocuments)
{
    test::TempDir dir;
    auto media = dir.file("media");
    for (auto folder : { "", "/card1", "/card2", "/card2/Documents", "/card3" })
        ASSERT_EQ(mkdir((media + folder).c_str(), 0777), 0);
    auto table = dir.write("mounts",
        "/dev/a " + media + "/card1 vfat rw 0 0\n/dev/b " + media + "/card2 vfat rw 0 0\n/dev/c " + media
            + "/card3 vfat rw 0 0\n");
    platform::set_mount_source(table, { media });
    test::EnvironmentOverride config("XDG_CONFIG_HOME", dir.path().c_str());
    test::EnvironmentOverride documents("XDG_DOCUMENTS_DIR", (media + "/card2/Documents").c_str());
    // With tracing on, the trace file lands in the program's folder.
    test::EnvironmentOverride app("ORVANTA_APP_PATH", dir.path().c_str());
    os::ScopedRegistryFile registry(dir.file("registry"));
    ASSERT_TRUE(os::registry_write_dword(u"HKEY_CURRENT_USER\\Software\\Qiro", u"Log", 1));

    Recorder all("");
    EXPECT_TRUE(all.find_drives());
    Recorder first("");
    first.stop_at = { u16(media + "/card1") };
    first.find_drives();
    platform::set_mount_source("/proc/self/mounts", { "/media", "/mnt" });
    os::registry_write_dword(u"HKEY_CURRENT_USER\\Software\\Qiro", u"Log", 0);
    os::log();

    EXPECT_EQ(all.seen,
        (std::vector<std::u16string> { u"D " + u16(media + "/card1"), u"D " + u16(media + "/card3") }));
    EXPECT_EQ(first.seen, (std::vector<std::u16string> { u"D " + u16(media + "/card1") }));

    std::string trace = test::read_file(
        dir.file(std::filesystem::read_symlink("/proc/self/exe").filename().string() + ".txt"));
    const std::u16string card = u16(media + "/card"), mydoc = u16(media + "/card2/Documents");
    const std::u16string head = u"find_drives: mydoc={" + mydoc + u"}\nreturning result={" + card + u"1}\n";
    EXPECT_EQ(trace,
        test::utf16le_file(
            head + u"skipping result={" + card + u"2}\nreturning result={" + card + u"3}\n" + head));
}

