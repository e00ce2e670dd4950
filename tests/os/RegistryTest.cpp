#include "os/Registry.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using platform::RegistryRoot;

namespace {

constexpr std::u16string_view qiro = u"HKEY_CURRENT_USER\\Software\\Qiro";

class Registry : public testing::Test {
protected:
    test::TempDir m_dir;
    os::ScopedRegistryFile m_registry { m_dir.file("registry") };
};

}

TEST_F(Registry, SplitPathNamesTheRoot)
{
    struct Case {
        std::u16string_view path;
        std::optional<RegistryRoot> root;
        std::u16string_view sub_key;
    } cases[] = {
        { u"HKEY_CLASSES_ROOT\\.mp3", RegistryRoot::classes_root, u".mp3" },
        { u"HKEY_CURRENT_USER\\Software\\Qiro", RegistryRoot::current_user, u"Software\\Qiro" },
        { u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Apps", RegistryRoot::local_machine, u"SOFTWARE\\Apps" },
        { u"HKEY_USERS\\x", RegistryRoot::users, u"x" },
        { u"HKEY_CURRENT_CONFIG\\x", std::nullopt, u"" },
        { u"hkey_current_user\\x", std::nullopt, u"" }, // roots match case-sensitively
        { u"", std::nullopt, u"" },
        { u"HKEY_USERS", RegistryRoot::users, u"" },
    };
    for (const auto& c : cases) {
        const auto split = os::registry_split_path(c.path);
        EXPECT_EQ(split.root, c.root);
        EXPECT_EQ(split.sub_key, c.sub_key);
    }
}

TEST_F(Registry, ReadingAMissingValueCreatesTheKey)
{
    std::uint32_t number = 77;
    EXPECT_TRUE(os::registry_read_dword(qiro, u"Log", number));
    EXPECT_EQ(number, 77u);
    EXPECT_TRUE(os::registry_store().key_exists(RegistryRoot::current_user, u"Software\\Qiro"));
    std::u16string text = u"kept";
    EXPECT_FALSE(os::registry_read_string(qiro, u"Missing", text));
    EXPECT_EQ(text, u"kept");
}

TEST_F(Registry, ValuesRoundTripWithNamesInAnyCase)
{
    ASSERT_TRUE(os::registry_write_dword(qiro, u"Log", 1));
    ASSERT_TRUE(os::registry_write_string(u"HKEY_CURRENT_USER\\SOFTWARE\\qiro", u"Skin", u"D\u00e9faut"));
    std::uint32_t number = 0;
    EXPECT_TRUE(os::registry_read_dword(u"HKEY_CURRENT_USER\\software\\QIRO", u"LOG", number));
    EXPECT_EQ(number, 1u);
    std::u16string text;
    EXPECT_TRUE(os::registry_read_string(qiro, u"skin", text));
    EXPECT_EQ(text, u"D\u00e9faut");
    // An empty string reads back as empty.
    ASSERT_TRUE(os::registry_write_string(qiro, u"Empty", u""));
    text = u"x";
    EXPECT_TRUE(os::registry_read_string(qiro, u"Empty", text));
    EXPECT_EQ(text, u"");
}

TEST_F(Registry, TypeMismatchLeavesTheResult)
{
    ASSERT_TRUE(os::registry_write_string(qiro, u"Text", u"12"));
    ASSERT_TRUE(os::registry_write_dword(qiro, u"Number", 12));
    std::uint32_t number = 5;
    EXPECT_TRUE(os::registry_read_dword(qiro, u"Text", number));
    EXPECT_EQ(number, 5u);
    std::u16string text = u"kept";
    EXPECT_FALSE(os::registry_read_string(qiro, u"Number", text));
    EXPECT_EQ(text, u"kept");
}

TEST_F(Registry, StringWithoutTerminatorIsReadWithinItsSize)
{
    auto& store = os::registry_store();
    ASSERT_TRUE(store.create_key(RegistryRoot::current_user, u"Software\\Qiro"));
    const std::uint8_t raw[] = { 'h', 0, 'i', 0, '!' }; // no terminating zero, odd size
    ASSERT_TRUE(store.set_value(RegistryRoot::current_user, u"Software\\Qiro", u"Raw", platform::registry_string, raw));
    std::u16string text;
    EXPECT_TRUE(os::registry_read_string(qiro, u"Raw", text));
    EXPECT_EQ(text, u"hi");
}

TEST_F(Registry, UnknownRootFailsEverything)
{
    constexpr std::u16string_view bad = u"HKEY_CURRENT_CONFIG\\Software";
    std::uint32_t number = 3;
    std::u16string text = u"kept";
    EXPECT_FALSE(os::registry_write_dword(bad, u"x", 1));
    EXPECT_FALSE(os::registry_write_string(bad, u"x", u"y"));
    EXPECT_FALSE(os::registry_read_dword(bad, u"x", number));
    EXPECT_FALSE(os::registry_read_string(bad, u"x", text));
    EXPECT_TRUE(os::registry_enum_subkeys(bad).empty());
    EXPECT_EQ(number, 3u);
    EXPECT_EQ(text, u"kept");
}

TEST_F(Registry, EnumerationStopsAtAnOverlongName)
{
    constexpr std::u16string_view keys = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shell\\Keys";
    EXPECT_TRUE(os::registry_enum_subkeys(keys).empty()); // not created by enumerating
    EXPECT_FALSE(os::registry_store().key_exists(RegistryRoot::local_machine, u"SOFTWARE"));

    auto& store = os::registry_store();
    for (std::u16string name : { u"40C1", u"40C2", u"40C3" })
        ASSERT_TRUE(store.create_key(RegistryRoot::local_machine, std::u16string(keys.substr(19)) + u"\\" + name));
    EXPECT_EQ(os::registry_enum_subkeys(keys), (std::vector<std::u16string> { u"40C1", u"40C2", u"40C3" }));

    ASSERT_TRUE(store.create_key(RegistryRoot::local_machine,
        std::u16string(keys.substr(19)) + u"\\40C2" + std::u16string(300, u'x')));
    EXPECT_EQ(os::registry_enum_subkeys(keys), (std::vector<std::u16string> { u"40C1", u"40C2" }));
}
