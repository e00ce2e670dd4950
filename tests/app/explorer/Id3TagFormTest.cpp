#include "app/explorer/Id3TagForm.h"

#include "audio/Id3Tag.h"
#include "platform/ui/Input.h"
#include "tests/dialogs/DialogScreen.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"
#include "tests/skinner/EditionOnly.h"

#include <algorithm>
#include <map>
#include <sstream>

namespace {

using platform::vk::back;
using platform::vk::end;

class Id3TagFormTest : public test::DialogScreen {
protected:
    void SetUp() override
    {
        if (!test::have_tool("sox") || !test::have_tool("lame") || !test::have_tool("ffprobe"))
            GTEST_SKIP() << "sox, lame and ffprobe make and read the files";
    }

    // A short MP3 file made by lame, with lame's own ID3v1 tag when arguments for it are given.
    std::u16string lame_mp3(const std::string& name, const std::vector<std::string>& tag_arguments = {})
    {
        const std::string wav = dir.file(name + ".wav");
        EXPECT_EQ(test::run_tool({ "sox", "-n", "-r", "22050", "-c", "1", "-b", "16", wav, "synth", "0.3",
                                     "sine", "440" })
                      .exit_code,
            0);
        std::vector<std::string> argv { "lame", "--quiet" };
        argv.insert(argv.end(), tag_arguments.begin(), tag_arguments.end());
        argv.push_back(wav);
        argv.push_back(dir.file(name));
        EXPECT_EQ(test::run_tool(argv).exit_code, 0);
        return platform::from_utf8(dir.file(name));
    }

    // The tags that ffprobe reads from the file, by lower-case name.
    static std::map<std::string, std::string> probed_tags(const std::u16string& path)
    {
        const auto result = test::run_tool({ "ffprobe", "-v", "error", "-show_entries", "format_tags", "-of",
            "default=noprint_wrappers=1", platform::to_utf8(path) });
        EXPECT_EQ(result.exit_code, 0);
        std::map<std::string, std::string> tags;
        std::istringstream lines(result.out);
        for (std::string line; std::getline(lines, line);) {
            const std::size_t equals = line.find('=');
            if (!line.starts_with("TAG:") || equals == std::string::npos)
                continue;
            std::string key = line.substr(4, equals - 4);
            std::transform(
                key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
            tags[key] = line.substr(equals + 1);
        }
        return tags;
    }

    // Scripts typing at the end of a field: a tap on it, End, Backspaces, then the text.
    void retype(const Id3TagForm& form, std::u16string_view id, int erase, std::u16string text)
    {
        tap(form, id, 50);
        screen->key(end, 10);
        for (int i = 0; i < erase; ++i)
            screen->key(back, 10);
        screen->text(std::move(text), 10);
    }

    void tap_genre_button(const Id3TagForm& form, std::uint32_t after_ms)
    {
        const skinner::Control& combo = *form.get_control(u"cbGenre");
        screen->tap(on_screen(form,
                        { combo.position().x + combo.size().width - 4,
                            combo.position().y + combo.size().height / 2 }),
            after_ms);
    }

    test::TempDir dir;
};

}

TEST_F(Id3TagFormTest, EditsReachTheFileAsAnotherReaderSeesThem)
{
    ORVANTA_POCKET_PC_ONLY();
    const std::u16string path = lame_mp3("tagged.mp3",
        { "--id3v1-only", "--tt", "Old title", "--ta", "Someone", "--tl", "Album", "--ty", "1999", "--tc",
            "note", "--tn", "3", "--tg", "Rock" });
    audio::Id3Tag tag(path);
    ASSERT_TRUE(tag.has_tag);
    ASSERT_EQ(tag.genre, 17);

    Id3TagForm form(nullptr, settings);
    // The genre after "Rock" in the sorted list.
    const auto& items = form.genre().items;
    const auto rock = std::find_if(items.begin(), items.end(), [](const Genre& g) { return g.id == 17; });
    ASSERT_NE(rock + 1, items.end());
    const Genre next = *(rock + 1);

    retype(form, u"txtTitle", 9, u"New title");
    retype(form, u"txtArtist", 0, u" & band");
    retype(form, u"txtTrack", 1, u"12");
    tap_genre_button(form, 50);
    screen->key(platform::vk::down, 100).key(platform::vk::enter, 10);
    screen->call(
        [&] {
            EXPECT_EQ(form.title().get_text(), u"New title");
            EXPECT_EQ(form.album().get_text(), u"Album");
            EXPECT_EQ(form.year().get_text(), u"1999");
            EXPECT_EQ(form.comment().get_text(), u"note");
        },
        10);
    tap_title_ok(50);
    EXPECT_TRUE(form.edit(tag));
    EXPECT_FALSE(screen->stalled());
    EXPECT_EQ(tag.title, u"New title");
    EXPECT_EQ(tag.artist, u"Someone & band");
    EXPECT_EQ(tag.track, 12);
    EXPECT_EQ(tag.genre, std::int32_t(next.id));

    ASSERT_TRUE(tag.write(path));
    const auto probed = probed_tags(path);
    EXPECT_EQ(probed.at("title"), "New title");
    EXPECT_EQ(probed.at("artist"), "Someone & band");
    EXPECT_EQ(probed.at("album"), "Album");
    EXPECT_EQ(probed.at("track"), "12");
    EXPECT_EQ(probed.at("comment"), "note");
    EXPECT_EQ(probed.at("genre"), platform::to_utf8(next.name));
}

TEST_F(Id3TagFormTest, AFileWithoutATagOpensEmptyWithNoGenre)
{
    ORVANTA_POCKET_PC_ONLY();
    const std::u16string path = lame_mp3("plain.mp3");
    audio::Id3Tag tag(path);
    ASSERT_FALSE(tag.has_tag);

    Id3TagForm form(nullptr, settings);
    retype(form, u"txtTitle", 0, u"Named at last");
    screen->call(
        [&] {
            EXPECT_EQ(form.genre().face().text(), u"<none>");
            EXPECT_EQ(form.artist().get_text(), u"");
            EXPECT_EQ(form.track().get_text(), u"0");
        },
        10);
    tap_title_ok(50);
    EXPECT_TRUE(form.edit(tag));
    EXPECT_EQ(tag.genre, 255);
    ASSERT_TRUE(tag.write(path));

    const audio::Id3Tag again(path);
    EXPECT_TRUE(again.has_tag);
    EXPECT_EQ(again.title, u"Named at last");
    EXPECT_EQ(again.genre, 255);
    const auto probed = probed_tags(path);
    EXPECT_EQ(probed.at("title"), "Named at last");
    EXPECT_EQ(probed.count("genre"), 0u) << "no genre";
}

// The rest needs no file: the record alone goes through the form.
class Id3TagRecordTest : public test::DialogScreen {
protected:
    audio::Id3Tag record()
    {
        audio::Id3Tag tag(platform::from_utf8(dir.file("missing.mp3")));
        tag.title = u"T";
        tag.track = 9;
        tag.genre = 17;
        tag.has_tag = true;
        return tag;
    }

    test::TempDir dir;
};

TEST_F(Id3TagRecordTest, CancellingAnswersFalseButTheRecordTakesTheFields)
{
    ORVANTA_POCKET_PC_ONLY();
    audio::Id3Tag tag = record();
    Id3TagForm form(nullptr, settings);
    screen->call([&] { form.title().set_text(u"changed"); }, 50);
    tap(form, u"btnCancel", 50);
    EXPECT_FALSE(form.edit(tag));
    EXPECT_FALSE(screen->stalled()) << "Cancel closes the form";
    EXPECT_EQ(tag.title, u"changed");
    EXPECT_EQ(tag.genre, 17);
}

TEST_F(Id3TagRecordTest, AnUnknownGenreIsSavedAsNone)
{
    ORVANTA_POCKET_PC_ONLY();
    audio::Id3Tag tag = record();
    tag.genre = 200;
    Id3TagForm form(nullptr, settings);
    screen->call([&] { EXPECT_EQ(form.genre().face().text(), u"<none>"); }, 50);
    tap_title_ok(50);
    EXPECT_TRUE(form.edit(tag));
    EXPECT_EQ(tag.genre, 255);
}

TEST_F(Id3TagRecordTest, TrackTextKeepsItsLeadingDigitsOrTheOldNumber)
{
    ORVANTA_POCKET_PC_ONLY();
    struct Case {
        const char16_t* text;
        std::int32_t track;
    };

    const Case cases[] = { { u"12b", 12 }, { u" 7", 7 }, { u"abc", 9 }, { u"", 9 }, { u"0", 0 } };
    for (const Case& c : cases) {
        audio::Id3Tag tag = record();
        Id3TagForm form(nullptr, settings);
        screen->call([&] { form.track().set_text(c.text); }, 50);
        tap_title_ok(50);
        form.edit(tag);
        EXPECT_EQ(tag.track, c.track) << platform::to_utf8(c.text);
    }
}

TEST_F(Id3TagRecordTest, LongTextsStayWholeInTheForm)
{
    ORVANTA_POCKET_PC_ONLY();
    audio::Id3Tag tag = record();
    const std::u16string long_title(80, u'x');
    Id3TagForm form(nullptr, settings);
    screen->call([&] { form.title().set_text(long_title); }, 50);
    tap_title_ok(50);
    form.edit(tag);
    EXPECT_EQ(tag.title, long_title);
}

TEST_F(Id3TagRecordTest, Looks)
{
    ORVANTA_POCKET_PC_ONLY();
    audio::Id3Tag tag = record();
    tag.artist = u"An artist";
    tag.album = u"An album of songs";
    tag.year = u"2006";
    tag.comment = u"recorded live";
    Id3TagForm form(nullptr, settings);
    tap(form, u"txtAlbum", 50);
    screen->call([&] { form.album().set_selection(3, 8); }, 10);
    screen->call([&] { EXPECT_TRUE(test::matches_screenshot(screen->shown(), "dialogs-id3tags")); }, 10);
    tap_title_ok(50);
    form.edit(tag);
}
