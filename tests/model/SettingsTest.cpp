#include "model/Settings.h"

#include "os/PathMacros.h"
#include "os/Registry.h"
#include "os/XmlNode.h"
#include "platform/core/Utf8.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <clocale>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::u16string u16(const std::string& s)
{
    return platform::from_utf8(s);
}

std::string u8(std::u16string_view s)
{
    return platform::to_utf8(s);
}

liba::DateTime at(int day, int hour)
{
    liba::DateTime time;
    time.set_date(2007, 3, day);
    time.set_time(hour, 30, 0);
    return time;
}

// Every field away from its default.
Settings full_record()
{
    Settings s;
    s.channels = 2;
    s.bits = 8;
    s.samples = 44100;
    s.bitrate = -16000;
    s.codec = u"ADPCM";
    s.default_folder = true;
    s.folder = u"/rec/\u00e9t\u00e9 & \"co\"";
    s.date_folder = true;
    s.prefix = u"memo <1>";
    s.include_date = true;
    s.record_turn_off = 30;
    s.volume = 0.25;
    s.play_mode = PlayMode::PlaylistShuffle;
    s.play_turn_off = 60;
    s.associate_mp3_cmd = u"mp3 cmd";
    s.associate_wav_cmd = u"wav cmd";
    s.associate_m3u_cmd = u"m3u cmd";
    s.associate_ogg_cmd = u"ogg cmd";
    s.associate_wma_cmd = u"wma cmd";
    s.associate_mp3_icon = u"mp3 icon";
    s.associate_wav_icon = u"wav icon";
    s.associate_m3u_icon = u"m3u icon";
    s.associate_ogg_icon = u"ogg icon";
    s.associate_wma_icon = u"wma icon";
    s.vas_on = true;
    s.input_enabled = false;
    s.vas = 0.125;
    s.input = 0.75;
    s.buttons = { u"Play", u"" };
    s.unmap_when_inactive = false;
    s.joy_left_action = u"Previous";
    s.joy_right_action = u"Next";
    s.equalizer[0] = EqualizerBand(100.5, -3.0, 1.5, true);
    s.equalizer[1] = EqualizerBand(1000.0, 6.0, 2.0, false);
    s.equalizer[2] = EqualizerBand(8000.0, 0.5, 0.25, true);
    s.show_folders = false;
    s.explorer_folder = u"/music";
    s.sort = SortMode::NameDesc;
    s.speed = 1.5;
    s.pitch_lock = true;
    s.schedule.insert({ at(5, 14), at(5, 15) });
    s.schedule.insert({ at(6, 8), at(6, 9) });
    s.booster = 1;
    s.noise = 2;
    s.limiter = 3;
    s.language = u"Deutsch";
    s.skin = u"%app_path%/skins/Blue/Blue.skin";
    return s;
}

// The file full_record() writes, byte for byte.
const char* const full_file = R"(<Settings>
	<Record Codec="ADPCM" Channels="2" Bits="8" Samples="44100" Bitrate="-16000" DefaultFolder="true" Folder="/rec/été &amp; &quot;co&quot;" DateFolder="true" Prefix="memo &lt;1>" IncludeDate="true" TurnOff="30" VASOn="true" Vas="0.125000" Input="0.750000" />
	<Play Volume="0.250000" Mode="PlaylistShuffle" TurnOff="60" AssociateMP3Cmd="mp3 cmd" AssociateWAVCmd="wav cmd" AssociateM3UCmd="m3u cmd" AssociateOGGCmd="ogg cmd" AssociateWMACmd="wma cmd" AssociateMP3Icon="mp3 icon" AssociateWAVIcon="wav icon" AssociateM3UIcon="m3u icon" AssociateOGGIcon="ogg icon" AssociateWMAIcon="wma icon" Booster="1" Noise="2" Limiter="3" Speed="1.500000" PitchLock="true" />
	<Language Language="Deutsch" />
	<Buttons Button0="Play" Button1="" UnmapWhenInactive="false" JoyLeftAction="Previous" JoyRightAction="Next" />
	<FileExplorer ShowFolders="false" Folder="/music" Sort="NAME_DESC" />
	<Skin Skin="%app_path%/skins/Blue/Blue.skin" />
	<Equalizer1 Frequency="100.500000" Amplitude="-3.000000" Width="1.500000" Active="true" />
	<Equalizer2 Frequency="1000.000000" Amplitude="6.000000" Width="2.000000" Active="false" />
	<Equalizer3 Frequency="8000.000000" Amplitude="0.500000" Width="0.250000" Active="true" />
	<Schedule>
		<Task Begin="2007 03 05 14 30 00" End="2007 03 05 15 30 00" />
		<Task Begin="2007 03 06 08 30 00" End="2007 03 06 09 30 00" />
	</Schedule>
</Settings>
)";

constexpr std::u16string_view keys = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shell\\Keys";

class SettingsFile : public ::testing::Test {
protected:
    // The device lists this many hardware keys.
    void seed_keys(int count)
    {
        for (int i = 0; i < count; ++i)
            os::registry_write_string(std::u16string(keys) + u"\\" + u16(std::to_string(0xC1 + i)), u"", u"");
    }

    std::u16string path(const std::string& name = "Orvanta.xml") const { return u16(dir.file(name)); }

    Settings saved_and_loaded(const Settings& original)
    {
        EXPECT_TRUE(original.save(path()));
        Settings loaded;
        loaded.load(path());
        return loaded;
    }

    test::TempDir dir;
    os::ScopedRegistryFile registry { dir.file("registry") };
};

}

TEST_F(SettingsFile, DefaultsWithoutHardwareKeys)
{
    const Settings s;
    const std::u16string documents = os::expand_path_macros(u"%my_documents%");
    EXPECT_FALSE(documents.empty());
    EXPECT_EQ(s.channels, 1);
    EXPECT_EQ(s.bits, 16);
    EXPECT_EQ(s.samples, 22050);
    EXPECT_EQ(s.bitrate, 32000);
    EXPECT_EQ(s.codec, u"mp3");
    EXPECT_FALSE(s.default_folder);
    EXPECT_EQ(s.folder, documents);
    EXPECT_FALSE(s.date_folder);
    EXPECT_EQ(s.prefix, u"");
    EXPECT_FALSE(s.include_date);
    EXPECT_EQ(s.record_turn_off, 0);
    EXPECT_EQ(s.volume, 1.0);
    EXPECT_EQ(s.play_mode, PlayMode::SingleOnce);
    EXPECT_EQ(s.play_turn_off, 0);
    for (const auto* saved : { &s.associate_mp3_cmd, &s.associate_wav_cmd, &s.associate_m3u_cmd,
             &s.associate_ogg_cmd, &s.associate_wma_cmd, &s.associate_mp3_icon, &s.associate_wav_icon,
             &s.associate_m3u_icon, &s.associate_ogg_icon, &s.associate_wma_icon })
        EXPECT_EQ(*saved, u"");
    EXPECT_FALSE(s.vas_on);
    EXPECT_TRUE(s.input_enabled);
    EXPECT_EQ(s.vas, 0.5);
    EXPECT_EQ(s.input, 0.5);
    EXPECT_TRUE(s.buttons.empty());
    EXPECT_TRUE(s.unmap_when_inactive);
    EXPECT_EQ(s.joy_left_action, u"Rewind");
    EXPECT_EQ(s.joy_right_action, u"Forward");
    const double frequencies[] = { 200.0, 400.0, 800.0 };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(s.equalizer[i].frequency, frequencies[i]);
        EXPECT_EQ(s.equalizer[i].gain, 0.0);
        EXPECT_EQ(s.equalizer[i].width, 0.0);
        EXPECT_FALSE(s.equalizer[i].active);
    }
    EXPECT_TRUE(s.show_folders);
    EXPECT_EQ(s.explorer_folder, documents);
    EXPECT_EQ(s.sort, SortMode::Name);
    EXPECT_EQ(s.speed, 1.0);
    EXPECT_FALSE(s.pitch_lock);
    EXPECT_TRUE(s.schedule.empty());
    EXPECT_EQ(s.booster, 0);
    EXPECT_EQ(s.noise, 0);
    EXPECT_EQ(s.limiter, 0);
    EXPECT_EQ(s.language, u"English");
    EXPECT_EQ(s.skin, u"%app_path%/skins/Default/Default.skin");
    EXPECT_EQ(s.language_file(), u"%app_path%/English.lng");
    EXPECT_EQ(Settings::file_path(), u"%app_path%/Orvanta.xml");

    // No keys: the file holds no "Button" attributes.
    ASSERT_TRUE(s.save(path()));
    EXPECT_NE(
        test::read_file(dir.file("Orvanta.xml")).find("<Buttons UnmapWhenInactive="), std::string::npos);
}

TEST_F(SettingsFile, OneKeyCommandPerHardwareKey)
{
    seed_keys(3);
    Settings s;
    EXPECT_EQ(s.buttons, std::vector<std::u16string>(3));
}

TEST_F(SettingsFile, WritesEveryFieldInItsForm)
{
    seed_keys(2);
    ASSERT_TRUE(full_record().save(path()));
    EXPECT_EQ(test::read_file(dir.file("Orvanta.xml")), full_file);
}

TEST_F(SettingsFile, EveryFieldRoundTrips)
{
    seed_keys(2);
    dir.write("full.xml", full_file);
    Settings loaded;
    loaded.load(path("full.xml"));
    EXPECT_TRUE(loaded.input_enabled); // never stored: every start records
    ASSERT_TRUE(loaded.save(path()));
    EXPECT_EQ(test::read_file(dir.file("Orvanta.xml")), full_file);

    // A copy is independent.
    Settings copy = loaded;
    copy.schedule.clear();
    copy.buttons[0] = u"Stop";
    EXPECT_EQ(loaded.schedule.size(), 2);
    EXPECT_EQ(loaded.buttons[0], u"Play");
}

TEST_F(SettingsFile, NumbersIgnoreTheCLocale)
{
    // A locale whose decimal separator is a comma, built for this test.
    test::TempDir locales;
    if (!test::have_tool("localedef"))
        GTEST_SKIP() << "localedef not installed";
    test::run_tool({ "localedef", "-i", "de_DE", "-f", "UTF-8", locales.file("de_DE.UTF-8") });
    const char* old_path = std::getenv("LOCPATH");
    const std::string saved_path = old_path ? old_path : "";
    setenv("LOCPATH", locales.path().c_str(), 1);
    const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    if (!german) {
        old_path ? setenv("LOCPATH", saved_path.c_str(), 1) : unsetenv("LOCPATH");
        GTEST_SKIP() << "no de_DE locale";
    }
    char sample[16];
    std::snprintf(sample, sizeof sample, "%f", 0.5);
    EXPECT_STREQ(sample, "0,500000"); // the locale is in force

    Settings s;
    s.volume = 0.5;
    s.equalizer[1].gain = -2.75;
    const Settings back = saved_and_loaded(s);
    const std::string written = test::read_file(dir.file("Orvanta.xml"));

    std::setlocale(LC_ALL, "C");
    old_path ? setenv("LOCPATH", saved_path.c_str(), 1) : unsetenv("LOCPATH");
    EXPECT_NE(written.find("Volume=\"0.500000\""), std::string::npos);
    EXPECT_EQ(back.volume, 0.5);
    EXPECT_EQ(back.equalizer[1].gain, -2.75);
}

TEST_F(SettingsFile, MalformedValuesKeepOrZeroTheirField)
{
    struct Case {
        const char* element;
        const char* attribute;
        const char* text;
        std::function<bool(const Settings&)> holds;
    } cases[] = {
        { "Record", "Channels", "abc", [](const Settings& s) { return s.channels == 0; } },
        { "Record", "Channels", "", [](const Settings& s) { return s.channels == 1; } },
        { "Record", "Channels", "  ", [](const Settings& s) { return s.channels == 1; } },
        { "Record", "Channels", " 2 ch", [](const Settings& s) { return s.channels == 2; } },
        { "Record", "DefaultFolder", "yes", [](const Settings& s) { return !s.default_folder; } },
        { "Record", "DefaultFolder", "TRUE", [](const Settings& s) { return s.default_folder; } },
        { "Record", "DefaultFolder", "1", [](const Settings& s) { return s.default_folder; } },
        { "Record", "DefaultFolder", "tRUE", [](const Settings& s) { return !s.default_folder; } },
        { "Buttons", "UnmapWhenInactive", "False", [](const Settings& s) { return !s.unmap_when_inactive; } },
        { "Buttons", "UnmapWhenInactive", "no", [](const Settings& s) { return s.unmap_when_inactive; } },
        { "Play", "Mode", "shuffle", [](const Settings& s) { return s.play_mode == PlayMode::SingleOnce; } },
        { "Play", "Mode", "PlaylistShuffle",
            [](const Settings& s) { return s.play_mode == PlayMode::PlaylistShuffle; } },
        { "Play", "Mode", "4", [](const Settings& s) { return s.play_mode == PlayMode::SingleOnce; } },
        { "FileExplorer", "Sort", "name", [](const Settings& s) { return s.sort == SortMode::Name; } },
        { "FileExplorer", "Sort", "SIZE_DESC",
            [](const Settings& s) { return s.sort == SortMode::SizeDesc; } },
        { "Play", "Volume", "abc", [](const Settings& s) { return s.volume == 0.0; } },
        { "Play", "Volume", "", [](const Settings& s) { return s.volume == 1.0; } },
        { "Play", "Volume", "0,5", [](const Settings& s) { return s.volume == 0.0; } },
        { "Play", "Speed", "2.5e-1", [](const Settings& s) { return s.speed == 0.25; } },
        { "Equalizer2", "Frequency", "x", [](const Settings& s) { return s.equalizer[1].frequency == 0.0; } },
        { "Equalizer2", "Active", "maybe", [](const Settings& s) { return !s.equalizer[1].active; } },
        { "record", "Channels", "2", [](const Settings& s) { return s.channels == 1; } }, // names are exact
        { "Record", "channels", "2", [](const Settings& s) { return s.channels == 1; } },
    };

    for (const auto& c : cases) {
        std::string xml
            = std::string("<Settings><") + c.element + " " + c.attribute + "=\"" + c.text + "\"/></Settings>";
        dir.write("case.xml", xml);
        Settings s;
        s.load(path("case.xml"));
        EXPECT_TRUE(c.holds(s)) << xml;
    }
}

TEST_F(SettingsFile, MissingAndBrokenFilesKeepTheRecord)
{
    Settings before;
    before.schedule.insert({ at(5, 10), at(5, 11) });
    before.codec = u"GSM";
    for (const char* content : { "<Settings/>", "<Settings><Record Codec=", "", "<Other Codec=\"PCM\"/>" }) {
        dir.write("odd.xml", content);
        Settings s = before;
        s.input_enabled = false;
        s.load(path("odd.xml"));
        EXPECT_EQ(s.codec, u"GSM") << content;
        EXPECT_TRUE(s.schedule.empty()) << content; // the file's schedule, which holds nothing
        EXPECT_TRUE(s.input_enabled) << content;
    }
    Settings s = before;
    s.load(path("missing.xml"));
    EXPECT_EQ(s.codec, u"GSM");
}

TEST_F(SettingsFile, KeyCommandsFollowTheDevicesKeys)
{
    seed_keys(2);
    dir.write("four.xml",
        "<Settings><Buttons Button0=\"Play\" Button1=\"Stop\" Button2=\"Record\" "
        "Button3=\"Forward\"/></Settings>");
    Settings s;
    s.load(path("four.xml"));
    EXPECT_EQ(s.buttons, (std::vector<std::u16string> { u"Play", u"Stop" }));
    ASSERT_TRUE(s.save(path()));
    const std::string written = test::read_file(dir.file("Orvanta.xml"));
    EXPECT_NE(written.find("Button0=\"Play\" Button1=\"Stop\" UnmapWhenInactive"), std::string::npos)
        << written;
}

TEST_F(SettingsFile, ACrashWhileSavingLeavesTheOldFile)
{
    Settings old;
    old.codec = u"PCM";
    ASSERT_TRUE(old.save(path()));
    const std::string before = test::read_file(dir.file("Orvanta.xml"));

    // The child dies of a file size limit halfway through writing.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        rlimit no_core { 0, 0 }, small { 256, 256 };
        setrlimit(RLIMIT_CORE, &no_core);
        setrlimit(RLIMIT_FSIZE, &small);
        signal(SIGXFSZ, SIG_DFL);
        Settings changed = full_record();
        changed.save(path());
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);

    EXPECT_EQ(test::read_file(dir.file("Orvanta.xml")), before);
    Settings loaded;
    loaded.load(path());
    EXPECT_EQ(loaded.codec, u"PCM");

    // A file that cannot be replaced is reported and kept.
    ASSERT_EQ(chmod(dir.file("Orvanta.xml").c_str(), 0444), 0);
    EXPECT_FALSE(full_record().save(path()));
    EXPECT_EQ(test::read_file(dir.file("Orvanta.xml")), before);
}
