#include "audio/Id3Tag.h"

#include "os/File.h"
#include "platform/core/Utf8.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <gtest/gtest.h>

using audio::Id3Tag;

namespace {

std::u16string path_of(const std::string& path)
{
    return platform::from_utf8(path);
}

// "TAG" and a body with the given bytes placed at their offsets.
std::string trailer(std::initializer_list<std::pair<std::size_t, std::string>> fields)
{
    std::string body(125, '\0');
    for (const auto& [offset, bytes] : fields)
        body.replace(offset, bytes.size(), bytes);
    return "TAG" + body;
}

}

TEST(Id3Tag, ReadsTagsWrittenByLameAndFfmpeg)
{
    // lame's title holds "TAG" ("STAGE"): only the trailer's own "TAG" starts the tag.
    Id3Tag lame(path_of(test::fixture("mp3/lame_mpeg1_stereo.mp3")));
    EXPECT_TRUE(lame.has_tag);
    EXPECT_EQ(lame.title, u"STAGE LIGHTS");
    EXPECT_EQ(lame.artist, u"Orvanta");
    EXPECT_EQ(lame.album, u"Fixtures");
    EXPECT_EQ(lame.year, u"2026");
    EXPECT_EQ(lame.comment, u"");
    EXPECT_EQ(lame.track, 7);
    EXPECT_EQ(lame.genre, 12);

    Id3Tag ffmpeg(path_of(test::fixture("mp3/ffmpeg_mpeg1_stereo.mp3")));
    EXPECT_TRUE(ffmpeg.has_tag);
    EXPECT_EQ(ffmpeg.title, u"Orvanta");
    EXPECT_EQ(ffmpeg.artist, u"ffmpeg");

    Id3Tag bare(path_of(test::fixture("mp3/ffmpeg_layer2_stereo.mp2")));
    EXPECT_FALSE(bare.has_tag);
    EXPECT_EQ(bare.title, u"");
}

TEST(Id3Tag, ReadsEachField)
{
    const std::string blanks(26, ' ');
    const std::string comment28(28, 'c');

    struct Case {
        const char* what;
        std::string file;
        std::u16string title, comment;
        int track, genre;
    } cases[] = {
        // clang-format off
        { "blank padding", trailer({ { 0, "Abcd" + blanks } }), u"Abcd", u"", 0, 0 },
        { "zero padding", trailer({ { 0, "Abcd" } }), u"Abcd", u"", 0, 0 },
        { "text ends at a zero byte", trailer({ { 0, std::string("ab\0cd", 5) } }), u"ab", u"", 0, 0 },
        { "ANSI text", trailer({ { 0, "Caf\xE9 \x80" } }), u"Caf\u00E9 \u20AC", u"", 0, 0 },
        { "track after a zero byte", trailer({ { 94, comment28 }, { 123, "\x07" } }), u"", std::u16string(28, u'c'), 7, 0 },
        { "30-character comment, no track", trailer({ { 94, comment28 + "d\x07" } }), u"", std::u16string(28, u'c') + u"d\a", 0, 0 },
        { "genre byte", trailer({ { 124, "\xFF" } }), u"", u"", 0, 255 },
        { "junk after the tag", "audio" + trailer({ { 0, "Late" } }) + "20 bytes of anything", u"Late", u"", 0, 0 },
        { "the trailer first", trailer({ { 0, "Early" } }) + trailer({ { 0, "STAGE" }, { 94, "TAG" } }), u"STAGE", u"TAG", 0, 0 },
        // clang-format on
    };

    test::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Id3Tag tag(path_of(dir.write("case.mp3", c.file)));
        EXPECT_TRUE(tag.has_tag);
        EXPECT_EQ(tag.title, c.title);
        EXPECT_EQ(tag.comment, c.comment);
        EXPECT_EQ(tag.track, c.track);
        EXPECT_EQ(tag.genre, c.genre);
    }
}

TEST(Id3Tag, FindsNoTagWhereThereIsNone)
{
    test::TempDir dir;

    struct Case {
        const char* what;
        std::string file;
    } cases[] = {
        { "empty file", "" },
        { "no TAG", std::string(5000, 'x') },
        { "TAG too far from the end", "TAG" + std::string(2000, 'x') },
        { "fewer than 125 bytes after TAG", std::string(10, 'x') + "TAG" + std::string(87, 'x') },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Id3Tag tag(path_of(dir.write("case.mp3", c.file)));
        EXPECT_FALSE(tag.has_tag);
        EXPECT_EQ(tag.title, u"");
        EXPECT_EQ(tag.track, 0);
    }
    EXPECT_FALSE(Id3Tag(path_of(dir.file("missing.mp3"))).has_tag);

    // A 100-byte file is searched whole.
    os::File small(path_of(dir.write("small.mp3", std::string(10, 'x') + "TAG" + std::string(87, 'x'))), os::File::Mode::read);
    EXPECT_EQ(audio::id3_find_tag(small), 13);
    EXPECT_EQ(audio::id3_find_trailer(small), -1);
}

TEST(Id3Tag, WritesTheTrailerAndRewritesItInPlace)
{
    test::TempDir dir;
    // Audio that happens to hold "TAG" near its end is not taken for a tag when writing.
    std::string audio = std::string(500, 'a') + "TAG" + std::string(300, 'b');
    std::string path = dir.write("song.mp3", audio);

    Id3Tag tag(path_of(path));
    tag.title = u"STAGE";
    tag.artist = u"An artist whose name runs past thirty characters";
    tag.album = u"Caf\u00E9 \u4E2D";
    tag.year = u"20261";
    tag.comment = std::u16string(40, u'c');
    tag.track = 7;
    tag.genre = 300;
    ASSERT_TRUE(tag.write(path_of(path)));

    std::string bytes = test::read_file(path);
    ASSERT_EQ(bytes.size(), audio.size() + 128);
    EXPECT_EQ(bytes.substr(0, audio.size()), audio);
    EXPECT_EQ(bytes.substr(audio.size()),
        trailer({ { 0, "STAGE" }, { 30, "An artist whose name runs past" }, { 60, "Caf\xE9 ?" },
            { 90, "2026" }, { 94, std::string(28, 'c') }, { 123, "\x07" }, { 124, "\x2C" } }));

    Id3Tag back(path_of(path));
    EXPECT_TRUE(back.has_tag);
    EXPECT_EQ(back.title, u"STAGE");
    EXPECT_EQ(back.year, u"2026");
    EXPECT_EQ(back.comment, std::u16string(28, u'c'));
    EXPECT_EQ(back.track, 7);
    EXPECT_EQ(back.genre, 44);

    // Again and again: the trailer is replaced, the file does not grow.
    back.title = u"Another";
    back.track = 0;
    ASSERT_TRUE(back.write(path_of(path)));
    ASSERT_TRUE(back.write(path_of(path)));
    bytes = test::read_file(path);
    EXPECT_EQ(bytes.size(), audio.size() + 128);
    Id3Tag again(path_of(path));
    EXPECT_EQ(again.title, u"Another");
    EXPECT_EQ(again.track, 0);
    EXPECT_EQ(again.artist, u"An artist whose name runs past");

    // A missing file is created holding the tag alone; a folder cannot be written.
    ASSERT_TRUE(tag.write(path_of(dir.file("new.mp3"))));
    EXPECT_EQ(test::read_file(dir.file("new.mp3")).size(), 128u);
    EXPECT_FALSE(tag.write(path_of(dir.path())));
}

TEST(Id3Tag, WrittenTagsReadBackInFfprobe)
{
    if (!test::have_tool("ffprobe"))
        GTEST_SKIP() << "ffprobe missing";
    test::TempDir dir;
    std::string path = dir.write("song.mp3", test::read_file(test::fixture("mp3/ffmpeg_layer2_stereo.mp2")));
    Id3Tag tag(path_of(path));
    // ffprobe takes these texts for UTF-8, so plain ASCII.
    tag.title = u"STAGE";
    tag.artist = u"Orvanta";
    tag.track = 3;
    ASSERT_TRUE(tag.write(path_of(path)));
    auto probe = test::run_tool({ "ffprobe", "-v", "error", "-show_entries", "format_tags=title,artist,track",
        "-of", "default=nw=1", path });
    EXPECT_EQ(probe.out, "TAG:title=STAGE\nTAG:artist=Orvanta\nTAG:track=3\n");
}
