#include "model/InsertMerge.h"

#include "audio/readers/FileReaderWAVPCM.h"
#include "model/RangeMarkList.h"
#include "os/FileInfo.h"
#include "tests/audio/CodecFiles.h"
#include "tests/audio/DecodedAudio.h"
#include "tests/audio/RecordedFile.h"
#include "tests/model/RecordDoubles.h"

#include <gtest/gtest.h>

using test::u16;

namespace {

// 16-bit mono at 8000 Hz: 10000 bytes of target, 5000 of part.
class InsertMerge : public ::testing::Test {
public:
    void SetUp() override
    {
        if (!test::have_tool("sox"))
            GTEST_SKIP() << "sox makes the files";
        target = make("memo.wav", "0.625", "440");
        part = make("insert1.tmp", "0.3125", "880");
        RangeMarkList marks;
        marks.insert(0, u"start", true);
        marks.insert(500, u"early", true);
        marks.insert(4000, u"late", false);
        ASSERT_TRUE(marks.save(u16(target + ".bm")));
        target_bytes = test::read_file(target);
        marks_bytes = test::read_file(target + ".bm");
        part_bytes = test::read_file(part);
    }

    std::string make(const std::string& name, const char* seconds, const char* frequency)
    {
        return test::make_file(dir, name,
            { "sox", "-n", "-r", "8000", "-b", "16", "-c", "1", "-t", "wav", "%o", "synth", seconds, "sine",
                frequency });
    }

    static std::string audio_of(const std::string& path)
    {
        audio::FileReaderWAVPCM reader(u16(path));
        return test::read_all(reader, 1000, 1, 8000);
    }

    // Nothing changed: the target and its marks as they were, the part kept,
    // no new file left behind.
    void expect_untouched()
    {
        EXPECT_EQ(test::read_file(target), target_bytes);
        EXPECT_EQ(test::read_file(target + ".bm"), marks_bytes);
        EXPECT_EQ(test::read_file(part), part_bytes);
        EXPECT_FALSE(os::FileInfo(u16(dir.file("insert2.tmp"))).exists());
    }

    test::TempDir dir;
    std::string target, part;
    std::string target_bytes, marks_bytes, part_bytes;
    test::FailingMedia media;
};

}

TEST_F(InsertMerge, ThePartGoesInAtThePositionAndTheMarksMakeRoom)
{
    const std::string head_and_tail = audio_of(target);
    const std::string inserted = audio_of(part);
    ASSERT_EQ(head_and_tail.size(), 10000u);
    ASSERT_EQ(inserted.size(), 5000u);
    RangeMarkList part_marks;
    part_marks.insert(2000, u"said", false);

    ASSERT_TRUE(merge_insert(media, u16(target), u16(part), 1000, part_marks));
    EXPECT_EQ(audio_of(target), head_and_tail.substr(0, 1000) + inserted + head_and_tail.substr(1000));
    EXPECT_FALSE(os::FileInfo(u16(part)).exists());
    EXPECT_FALSE(os::FileInfo(u16(dir.file("insert2.tmp"))).exists());
    EXPECT_EQ(test::probe_stream(target), "pcm_s16le,8000,1\n");

    RangeMarkList marks = RangeMarkList::load(u16(target + ".bm"));
    std::vector<std::pair<std::int64_t, std::u16string>> seen;
    for (int i = 0; i < marks.mark_count(); ++i)
        seen.emplace_back(marks.mark(i).position, marks.mark(i).name);
    EXPECT_EQ(seen,
        (std::vector<std::pair<std::int64_t, std::u16string>> { { 0, u"start" }, { 500, u"early" },
            { 1000, u"Bookmark" }, { 3000, u"said" }, { 6000, u"Bookmark" }, { 9000, u"late" } }));
}

TEST_F(InsertMerge, PositionsOutsideTheFileInsertAtItsEnds)
{
    for (std::int64_t position : { std::int64_t(-50), std::int64_t(999999) }) {
        SCOPED_TRACE(position);
        test::TempDir fresh;
        std::string t = fresh.write("t.wav", target_bytes), p = fresh.write("p.tmp", part_bytes);
        ASSERT_TRUE(merge_insert(media, u16(t), u16(p), position, {}));
        const std::string merged = audio_of(t);
        const std::string inserted = audio_of(part);
        EXPECT_EQ(merged.size(), 15000u);
        EXPECT_EQ(position < 0 ? merged.substr(0, 5000) : merged.substr(10000), inserted);
    }
}

TEST_F(InsertMerge, AFailureAtAnyStepLosesNoFile)
{
    struct Case {
        const char* name;
        void (*arrange)(InsertMerge&);
    } cases[] = {
        { "the part cannot be read", [](InsertMerge& t) { t.media.unreadable.insert(u16(t.part)); } },
        { "the target cannot be read", [](InsertMerge& t) { t.media.unreadable.insert(u16(t.target)); } },
        { "the part is no audio",
            [](InsertMerge& t) {
                t.part_bytes = test::read_file(t.dir.write("insert1.tmp", "not audio at all"));
            } },
        { "the disk fills up", [](InsertMerge& t) { t.media.disk_room = 44 + 8000; } },
        { "the rename fails", [](InsertMerge& t) { t.media.rename_fails = true; } },
    };

    const std::string recorded = part_bytes;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        media = test::FailingMedia();
        part_bytes = test::read_file(dir.write("insert1.tmp", recorded));
        c.arrange(*this);
        RangeMarkList part_marks;
        part_marks.insert(100, u"said", true);
        EXPECT_FALSE(merge_insert(media, u16(target), u16(part), 1000, part_marks));
        expect_untouched();
    }
}
