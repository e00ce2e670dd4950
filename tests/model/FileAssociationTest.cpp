#include "model/FileAssociation.h"

#include "model/Settings.h"
#include "platform/core/FileAssociations.h"
#include "platform/core/Utf8.h"
#include "platform/core/headless/MemoryFileAssociations.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using platform::headless::MemoryFileAssociations;
using Type = MemoryFileAssociations::Type;

namespace {

std::string u8(std::u16string_view s)
{
    return platform::to_utf8(s);
}

class Associations : public ::testing::Test {
protected:
    test::EnvironmentOverride app { "ORVANTA_APP_PATH", "/opt/orvanta" };
    platform::ScopedService<platform::FileAssociations, MemoryFileAssociations> installed {
        platform::file_associations_slot()
    };
    MemoryFileAssociations& desktop = *installed;
    const std::u16string own_command = desktop.own_command();
    const std::u16string own_icon = desktop.own_icon();
};

}

TEST_F(Associations, TheProgramsOwnCommandAndIcon)
{
    EXPECT_EQ(u8(own_command).substr(0, 14), "\"/opt/orvanta/");
    EXPECT_EQ(u8(own_command).substr(u8(own_command).size() - 4), "\" %1");
    EXPECT_EQ(own_icon, own_command.substr(1, own_command.size() - 5) + u",-0");
}

TEST_F(Associations, TakingOverAndGivingBack)
{
    // One step of a scenario: the flag applied to a type, then the state of
    // the type it names and the saved values. "own" stands for the program's.
    struct Step {
        bool enable;
        Type type;
        std::u16string saved_command;
        std::u16string saved_icon;
        bool writes;
    };

    struct Case {
        const char* name;
        std::u16string extension; // wav, mp3 or ogg
        std::u16string registered; // the type the extension names before, if any
        std::optional<Type> before; // that type's state
        std::u16string type; // the type whose state the steps show
        std::vector<Step> steps;
    };

    const std::u16string own = u"own";
    const Case cases[] = {
        { "wav registered with C and I", u"wav", u"wavfile", Type { u"Wave", u"C", u"I" }, u"wavfile",
            {
                { true, { u"Voice Recording", own, own }, u"C", u"I", true },
                { true, { u"Voice Recording", own, own }, u"C", u"I", false }, // twice: nothing written
                { false, { u"Voice Recording", u"C", u"I" }, u"", u"", true },
                { false, { u"Voice Recording", u"C", u"I" }, u"", u"", false },
            } },
        { "ogg never registered", u"ogg", u"", std::nullopt, u"oggfiles",
            {
                { true, { u"Ogg Vorbis sound", own, own }, own, u"", true },
                { false, { u"Ogg Vorbis sound", own, u"" }, u"", u"", true },
            } },
        { "mp3 never taken and not asked for", u"mp3", u"mp3sound", Type { u"MP3", u"C", u"I" }, u"mp3sound",
            {
                { false, { u"MP3", u"C", u"I" }, u"", u"", false },
            } },
        { "mp3 naming another program's type", u"mp3", u"Player.File", Type { u"Player", u"C2", u"I2" },
            u"Player.File",
            {
                { true, { u"MP3 sound", own, own }, u"C2", u"I2", true },
                { false, { u"MP3 sound", u"C2", u"I2" }, u"", u"", true },
            } },
        { "a command without an icon", u"wav", u"wavfile", Type { std::nullopt, u"C", std::nullopt },
            u"wavfile",
            {
                { true, { u"Voice Recording", own, own }, u"C", u"", true },
                { false, { u"Voice Recording", u"C", u"" }, u"", u"", true },
            } },
    };
    auto own_or = [&](const std::optional<std::u16string>& value, const std::u16string& mine) {
        return value == own ? std::optional(mine) : value;
    };
    for (const auto& c : cases) {
        desktop.extensions.clear();
        desktop.types.clear();
        if (!c.registered.empty())
            desktop.extensions[c.extension] = c.registered;
        if (c.before)
            desktop.types[c.registered] = *c.before;
        Settings settings;
        const bool wav = c.extension == u"wav", mp3 = c.extension == u"mp3", ogg = c.extension == u"ogg";
        int step = 0;
        for (const auto& s : c.steps) {
            const int writes = desktop.writes;
            settings.apply_associations(wav && s.enable, mp3 && s.enable, false, ogg && s.enable, false);
            const Type expected { s.type.description, own_or(s.type.command, own_command),
                own_or(s.type.icon, own_icon) };
            const std::string where = std::string(c.name) + ", step " + std::to_string(step++);
            EXPECT_EQ(desktop.types[c.type], expected) << where;
            const std::u16string& saved_command = wav ? settings.associate_wav_cmd
                : mp3                                 ? settings.associate_mp3_cmd
                                                      : settings.associate_ogg_cmd;
            const std::u16string& saved_icon = wav ? settings.associate_wav_icon
                : mp3                              ? settings.associate_mp3_icon
                                                   : settings.associate_ogg_icon;
            EXPECT_EQ(saved_command, s.saved_command == own ? own_command : s.saved_command) << where;
            EXPECT_EQ(saved_icon, s.saved_icon) << where;
            EXPECT_EQ(desktop.writes != writes, s.writes) << where;
        }
        EXPECT_EQ(desktop.extensions[c.extension], c.registered.empty() ? c.type : c.registered) << c.name;
    }
}

TEST_F(Associations, TheFiveTypesInTheirOrder)
{
    Settings settings;
    settings.apply_associations(true, true, true, true, true);
    const std::pair<std::u16string, std::u16string> names[] = {
        { u"wav", u"wavfile" },
        { u"mp3", u"mp3sound" },
        { u"m3u", u"m3ulists" },
        { u"ogg", u"oggfiles" },
        { u"wma", u"wmafiles" },
    };
    const std::u16string descriptions[] = { u"Voice Recording", u"MP3 sound", u"M3U lists",
        u"Ogg Vorbis sound", u"Windows Media Audio file" };
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(desktop.extensions[names[i].first], names[i].second);
        EXPECT_EQ(desktop.types[names[i].second], (Type { descriptions[i], own_command, own_icon }));
    }
    for (const auto* saved : { &settings.associate_wav_cmd, &settings.associate_mp3_cmd,
             &settings.associate_m3u_cmd, &settings.associate_ogg_cmd, &settings.associate_wma_cmd })
        EXPECT_EQ(*saved, own_command);
}

namespace {

// The fixture after the five types were taken over: the default for mp3
// and wav as given, the three types that had none added as the program's.
std::string fixture_with(std::u16string_view mp3, std::u16string_view wav)
{
    return R"(# Chosen by hand; the comments and other groups must survive.
[Added Associations]
audio/mpeg=vlc.desktop;audacious.desktop;
audio/x-wav=vlc.desktop;

[Default Applications]
text/plain=org.gnome.TextEditor.desktop
audio/mpeg=)"
        + u8(mp3) + R"(
# the recorder's files
audio/x-wav=)"
        + u8(wav) + R"(
image/png=org.gnome.Loupe.desktop
audio/x-mpegurl=orvanta.desktop
audio/ogg=orvanta.desktop
audio/x-ms-wma=orvanta.desktop

[Removed Associations]
audio/ogg=rhythmbox.desktop;
)";
}

}

TEST(DesktopAssociations, OtherEntriesSurviveTakingOverAndGivingBack)
{
    test::TempDir dir;
    test::EnvironmentOverride config("XDG_CONFIG_HOME", (dir.path() + "/config").c_str());
    test::EnvironmentOverride data("XDG_DATA_HOME", (dir.path() + "/data").c_str());
    const std::string list = dir.path() + "/config/mimeapps.list";
    const std::string original = test::read_file(test::fixture("associations/mimeapps.list"));
    ASSERT_FALSE(original.empty());
    mkdir((dir.path() + "/config").c_str(), 0755);
    dir.write("config/mimeapps.list", original);

    Settings settings;
    settings.apply_associations(true, true, true, true, true);
    EXPECT_EQ(test::read_file(list), fixture_with(u"orvanta.desktop", u"orvanta.desktop"));
    EXPECT_EQ(settings.associate_wav_cmd, u"audacious.desktop");
    EXPECT_EQ(settings.associate_mp3_cmd, u"vlc.desktop");
    EXPECT_EQ(settings.associate_ogg_cmd, u"orvanta.desktop");
    EXPECT_EQ(settings.associate_wav_icon, u"");
    const std::string entry = test::read_file(dir.path() + "/data/applications/orvanta.desktop");
    EXPECT_NE(entry.find("MimeType=audio/x-wav;audio/mpeg;audio/x-mpegurl;audio/ogg;audio/x-ms-wma;\n"),
        std::string::npos)
        << entry;

    // Again: already the program's, nothing changes.
    const Settings first = settings;
    settings.apply_associations(true, true, true, true, true);
    EXPECT_EQ(settings.associate_wav_cmd, first.associate_wav_cmd);

    settings.apply_associations(false, false, false, false, false);
    EXPECT_EQ(test::read_file(list), fixture_with(u"vlc.desktop", u"audacious.desktop"));
    EXPECT_EQ(settings.associate_wav_cmd, u"");
    EXPECT_EQ(settings.associate_ogg_cmd, u"");
}
