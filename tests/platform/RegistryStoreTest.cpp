#include "platform/core/RegistryStore.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using platform::RegistryRoot;
using platform::RegistryStore;

namespace {

constexpr auto user = RegistryRoot::current_user;

std::vector<std::uint8_t> dword(std::uint32_t n)
{
    return { std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24) };
}

std::vector<std::uint8_t> utf16z(std::u16string_view text)
{
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(std::uint8_t(c));
        bytes.push_back(std::uint8_t(c >> 8));
    }
    bytes.insert(bytes.end(), { 0, 0 });
    return bytes;
}

}

TEST(RegistryStore, ValuesSurviveIntoASecondStore)
{
    test::TempDir dir;
    const std::string file = dir.file("config/orvanta/registry"); // folders made on demand
    const std::vector<std::pair<std::u16string, platform::RegistryValue>> values = {
        { u"Log", { u"Log", platform::registry_dword, dword(0xDEADBEEF) } },
        { u"Skin", { u"Skin", platform::registry_string, utf16z(u"D\u00e9faut \"x\" \\ \U0001F3B5") } },
        { u"Lines", { u"Lines", platform::registry_string, utf16z(u"a\nb\r\n") } },
        { u"", { u"", platform::registry_string, utf16z(u"") } }, // the default value
        { u"Unterminated", { u"Unterminated", platform::registry_string, { 'h', 0, 'i', 0 } } },
        { u"Lone surrogate", { u"Lone surrogate", platform::registry_string, { 0x00, 0xD8, 0, 0 } } },
        { u"Odd \"name\"\n", { u"Odd \"name\"\n", 7, { 1, 2, 3 } } },
        { u"Empty", { u"Empty", 3, {} } },
    };
    {
        RegistryStore store(file);
        ASSERT_TRUE(store.create_key(user, u"Software\\Qiro"));
        for (const auto& [name, v] : values)
            ASSERT_TRUE(store.set_value(user, u"Software\\Qiro", name, v.type, v.data));
    }
    RegistryStore again(file);
    for (const auto& [name, v] : values) {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        auto read = again.get_value(user, u"Software\\Qiro", name);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->name, name);
        EXPECT_EQ(read->type, v.type);
        EXPECT_EQ(read->data, v.data);
    }
    // A hand-readable file.
    const std::string text = test::read_file(file);
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Qiro]\n\"Log\"=dword:deadbeef\n"), std::string::npos) << text;
}

TEST(RegistryStore, NamesIgnoreCaseAndKeepIt)
{
    test::TempDir dir;
    RegistryStore store(dir.file("registry"));
    ASSERT_TRUE(store.create_key(user, u"Software\\Qiro"));
    ASSERT_TRUE(store.create_key(user, u"SOFTWARE\\qiro\\Keys"));
    ASSERT_TRUE(store.set_value(user, u"software\\QIRO", u"Flicker", platform::registry_dword, dword(1)));
    ASSERT_TRUE(store.set_value(user, u"Software\\Qiro", u"FLICKER", platform::registry_dword, dword(2)));

    auto subs = store.sub_keys(user, u"Software");
    ASSERT_TRUE(subs);
    EXPECT_EQ(*subs, std::vector<std::u16string> { u"Qiro" });
    auto v = store.get_value(user, u"software\\qiro", u"flicker");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->name, u"Flicker");
    EXPECT_EQ(v->data, dword(2));
    EXPECT_TRUE(store.key_exists(user, u"software\\qiro\\keys"));
    // Roots are separate trees.
    EXPECT_FALSE(store.key_exists(RegistryRoot::local_machine, u"Software\\Qiro"));
}

TEST(RegistryStore, SubKeysInNameOrderAndMissingKeys)
{
    test::TempDir dir;
    RegistryStore store(dir.file("registry"));
    for (auto name : { u"b", u"C", u"a" })
        ASSERT_TRUE(store.create_key(RegistryRoot::local_machine, std::u16string(u"Keys\\") + name));
    EXPECT_EQ(*store.sub_keys(RegistryRoot::local_machine, u"Keys"), (std::vector<std::u16string> { u"a", u"b", u"C" }));
    EXPECT_FALSE(store.sub_keys(RegistryRoot::local_machine, u"Nothing"));
    EXPECT_FALSE(store.set_value(user, u"Nothing", u"x", platform::registry_dword, dword(1)));
    EXPECT_FALSE(store.get_value(user, u"Nothing", u"x"));
    EXPECT_FALSE(store.create_key(user, u"bad\nname"));
}

TEST(RegistryStore, SecondProcessSeesWritesAndIsSeen)
{
    test::TempDir dir;
    const std::string file = dir.file("registry");
    RegistryStore mine(file);
    ASSERT_TRUE(mine.create_key(user, u"Software\\Qiro"));
    ASSERT_TRUE(mine.set_value(user, u"Software\\Qiro", u"Parent", platform::registry_dword, dword(1)));

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RegistryStore theirs(file);
        const auto seen = theirs.get_value(user, u"Software\\Qiro", u"Parent");
        const bool ok = seen && seen->data == dword(1)
            && theirs.set_value(user, u"Software\\Qiro", u"Child", platform::registry_dword, dword(2));
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    auto seen = mine.get_value(user, u"Software\\Qiro", u"Child");
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->data, dword(2));
    // Our next write keeps theirs.
    ASSERT_TRUE(mine.set_value(user, u"Software\\Qiro", u"Parent", platform::registry_dword, dword(3)));
    EXPECT_TRUE(RegistryStore(file).get_value(user, u"Software\\Qiro", u"Child"));
}

TEST(RegistryStore, DamagedLinesAreSkipped)
{
    test::TempDir dir;
    const std::string file = dir.write("registry",
        "[HKEY_CURRENT_USER\\A]\n"
        "\"good\"=dword:00000010\r\n"
        "\"bad hex\"=hex(1):4\n"
        "\"bad dword\"=dword:123456789\n"
        "\"unterminated=dword:1\n"
        "garbage\n"
        "[HKEY_CURRENT_CONFIG\\B]\n"
        "\"lost\"=dword:1\n"
        "[HKEY_USERS\\C\n"
        "\"also\"=hex(4294967296):00\n"
        "[HKEY_CURRENT_USER\\A]\n"
        "\"text\"=\"trailing\\");
    RegistryStore store(file);
    EXPECT_EQ(store.get_value(user, u"A", u"good")->data, std::vector<std::uint8_t>({ 0x10, 0, 0, 0 }));
    for (auto name : { u"bad hex", u"bad dword", u"unterminated", u"text" })
        EXPECT_FALSE(store.get_value(user, u"A", name));
    EXPECT_FALSE(store.key_exists(RegistryRoot::users, u"C"));
}

TEST(RegistryStore, UnwritableFolderFailsTheWrite)
{
    test::TempDir dir;
    dir.write("file", "x");
    RegistryStore store(dir.file("file/registry")); // a file stands where the folder should
    EXPECT_FALSE(store.create_key(user, u"Software"));
    EXPECT_FALSE(store.key_exists(user, u"Software"));
}

TEST(RegistryStore, FileItCannotReadWholeIsNeverOverwritten)
{
    test::TempDir dir;
    std::string big = "[HKEY_CURRENT_USER\\A]\n\"v\"=dword:00000001\n";
    big.resize(17u << 20, ';'); // beyond what a store reads
    const std::string file = dir.write("registry", big);
    RegistryStore store(file);
    EXPECT_FALSE(store.key_exists(user, u"A"));
    EXPECT_FALSE(store.create_key(user, u"B"));
    EXPECT_EQ(test::read_file(file).size(), big.size());
}

TEST(RegistryStore, ItsFoldersAndFileArePrivateAndNoTemporaryStays)
{
    test::TempDir dir;
    RegistryStore store(dir.file("a/b/registry"));
    ASSERT_TRUE(store.create_key(user, u"Software"));
    ASSERT_TRUE(store.set_value(user, u"Software", u"v", platform::registry_dword, dword(7)));
    auto mode = [](const std::string& path) {
        struct stat st { };
        return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0u;
    };
    EXPECT_EQ(mode(dir.file("a")), 0700u);
    EXPECT_EQ(mode(dir.file("a/b")), 0700u);
    EXPECT_EQ(mode(dir.file("a/b/registry")), 0600u);
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.file("a/b")))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string> { "registry", "registry.lock" }));
}

TEST(RegistryStore, GenerationMovesWhenTheFileChangesAndOnlyThen)
{
    test::TempDir dir;
    const std::string file = dir.file("registry");
    RegistryStore mine(file);
    ASSERT_TRUE(mine.create_key(user, u"Software\\Qiro"));
    std::uint64_t last = mine.generation();
    EXPECT_EQ(mine.generation(), last) << "nothing happened";

    // Another file of the folder is no change of the store.
    dir.write("registry.other", "x");
    EXPECT_EQ(mine.generation(), last);

    const auto moved = [&] {
        const std::uint64_t now = mine.generation();
        const bool changed = now != last;
        last = now;
        return changed;
    };
    RegistryStore theirs(file); // another process's, as far as this store knows
    ASSERT_TRUE(theirs.set_value(user, u"Software\\Qiro", u"Log", platform::registry_dword, dword(1)));
    EXPECT_TRUE(moved()) << "a write by another";
    EXPECT_EQ(mine.get_value(user, u"Software\\Qiro", u"Log")->data, dword(1));

    ASSERT_TRUE(mine.set_value(user, u"Software\\Qiro", u"Log", platform::registry_dword, dword(0)));
    EXPECT_TRUE(moved()) << "its own write";
    EXPECT_FALSE(moved());

    // Edited by hand, in place.
    dir.write("registry", "[HKEY_CURRENT_USER\\Software\\Qiro]\n\"Log\"=dword:00000005\n");
    EXPECT_TRUE(moved());
    EXPECT_EQ(mine.get_value(user, u"Software\\Qiro", u"Log")->data, dword(5));

    // Another store on another file never shares a number.
    RegistryStore elsewhere(dir.file("elsewhere"));
    EXPECT_NE(elsewhere.generation(), mine.generation());
}
