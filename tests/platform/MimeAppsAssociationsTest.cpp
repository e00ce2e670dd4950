#include "platform/core/posix/MimeAppsAssociations.h"

#include "platform/core/Utf8.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using platform::MimeAppsAssociations;

namespace {

class MimeApps : public ::testing::Test {
protected:
    std::string list() const { return dir.path() + "/config/deeper/mimeapps.list"; }

    std::string entry() const { return dir.path() + "/data/applications/orvanta.desktop"; }

    std::u16string command_of(std::u16string_view type)
    {
        std::u16string command = u"<none>";
        desktop.read_command(type, command);
        return command;
    }

    test::TempDir dir;
    test::EnvironmentOverride config { "XDG_CONFIG_HOME", (dir.path() + "/config/deeper").c_str() };
    test::EnvironmentOverride data { "XDG_DATA_HOME", (dir.path() + "/data").c_str() };
    test::EnvironmentOverride app { "ORVANTA_APP_PATH", (dir.path() + "/my \"app\" $HOME `x` 100%").c_str() };
    MimeAppsAssociations desktop;
};

}

TEST_F(MimeApps, TypesAreTheMimeTypesOfTheFiveExtensions)
{
    const std::pair<std::u16string, std::u16string> types[] = {
        { u"wav", u"audio/x-wav" },
        { u"mp3", u"audio/mpeg" },
        { u"m3u", u"audio/x-mpegurl" },
        { u"ogg", u"audio/ogg" },
        { u"wma", u"audio/x-ms-wma" },
    };
    for (const auto& [extension, mime] : types) {
        std::u16string type;
        EXPECT_TRUE(desktop.read_type(extension, type));
        EXPECT_EQ(type, mime);
        EXPECT_TRUE(desktop.write_type(extension, mime));
        EXPECT_FALSE(desktop.write_type(extension, u"wavfile"));
    }
    std::u16string type = u"kept";
    EXPECT_FALSE(desktop.read_type(u"flac", type));
    EXPECT_FALSE(desktop.read_type(u"WAV", type));
    EXPECT_EQ(type, u"kept");
    EXPECT_TRUE(desktop.write_description(u"audio/ogg", u"Ogg Vorbis sound"));
    EXPECT_FALSE(desktop.write_description(u"oggfiles", u"Ogg Vorbis sound"));
    std::u16string icon;
    EXPECT_FALSE(desktop.read_icon(u"audio/ogg", icon));
    EXPECT_TRUE(desktop.write_icon(u"audio/ogg", u""));
}

TEST_F(MimeApps, WritingCreatesTheListAndTheProgramsEntryOnce)
{
    EXPECT_EQ(command_of(u"audio/mpeg"), u"<none>");
    ASSERT_TRUE(desktop.write_command(u"audio/mpeg", desktop.own_command()));
    EXPECT_EQ(test::read_file(list()), "[Default Applications]\naudio/mpeg=orvanta.desktop\n");
    EXPECT_EQ(command_of(u"audio/mpeg"), u"orvanta.desktop");

    // The path is quoted for the Exec line, then escaped as a string value.
    const std::string written = test::read_file(entry());
    EXPECT_NE(written.find("Exec=\"" + dir.path() + "/my \\\\\"app\\\\\" \\\\$HOME \\\\`x\\\\` 100%%/"),
        std::string::npos)
        << written;
    EXPECT_NE(written.find("\" %f\n"), std::string::npos) << written;

    // An entry the user has edited stays.
    dir.write("data/applications/orvanta.desktop", "[Desktop Entry]\nName=Mine\n");
    ASSERT_TRUE(desktop.write_command(u"audio/ogg", desktop.own_command()));
    EXPECT_EQ(test::read_file(entry()), "[Desktop Entry]\nName=Mine\n");

    // Another program's entry is not ours to write.
    ASSERT_TRUE(desktop.write_command(u"audio/ogg", u"vlc.desktop"));
    EXPECT_EQ(command_of(u"audio/ogg"), u"vlc.desktop");
}

TEST_F(MimeApps, EditsOnlyTheTypesLineOfTheDefaultGroup)
{
    mkdir((dir.path() + "/config").c_str(), 0755);
    mkdir((dir.path() + "/config/deeper").c_str(), 0755);
    dir.write("config/deeper/mimeapps.list",
        "[Added Associations]\naudio/ogg=a.desktop;\n"
        "[Default Applications]\naudio/ogg=b.desktop\n\naudio/ogg=c.desktop\n \n"
        "[Default Applications]\naudio/mpeg=d.desktop\n"
        "[Other]\nx=y");
    EXPECT_EQ(command_of(u"audio/ogg"), u"b.desktop");
    // Only the first default group counts; a duplicate line is dropped.
    EXPECT_EQ(command_of(u"audio/mpeg"), u"<none>");
    ASSERT_TRUE(desktop.write_command(u"audio/ogg", u"e.desktop"));
    ASSERT_TRUE(desktop.write_command(u"audio/mpeg", u"f.desktop"));
    EXPECT_EQ(test::read_file(list()),
        "[Added Associations]\naudio/ogg=a.desktop;\n"
        "[Default Applications]\naudio/ogg=e.desktop\naudio/mpeg=f.desktop\n\n \n"
        "[Default Applications]\naudio/mpeg=d.desktop\n"
        "[Other]\nx=y\n");
}

TEST_F(MimeApps, RefusesWhatWouldBreakTheList)
{
    dir.write("config/deeper/mimeapps.list", "[Default Applications]\naudio/ogg=b.desktop\n");
    const std::string before = test::read_file(list());
    EXPECT_FALSE(desktop.write_command(u"audio/ogg", u"x.desktop\n[Default Applications]\naudio/mpeg=evil"));
    EXPECT_FALSE(desktop.write_command(u"oggfiles", u"x.desktop"));
    EXPECT_FALSE(desktop.write_command(u"audio/ogg=x\naudio/mpeg", u"x.desktop"));
    std::u16string command;
    EXPECT_FALSE(desktop.read_command(u"[Default Applications]", command));
    EXPECT_EQ(test::read_file(list()), before);

    // A list that cannot be read is not written over.
    test::TempDir other;
    test::EnvironmentOverride elsewhere("XDG_CONFIG_HOME", other.path().c_str());
    mkdir((other.path() + "/mimeapps.list").c_str(), 0755);
    EXPECT_FALSE(desktop.write_command(u"audio/ogg", u"x.desktop"));
    EXPECT_EQ(command_of(u"audio/ogg"), u"<none>");
}
