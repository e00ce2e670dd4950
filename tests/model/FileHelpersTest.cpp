#include "model/FileHelpers.h"

#include "liba/Conversion.h"
#include "platform/core/Clock.h"
#include "platform/core/Utf8.h"
#include "tests/support/TempDir.h"

#include <cmath>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <limits>
#include <unistd.h>

namespace {

std::u16string wide(const std::string& text)
{
    return platform::from_utf8(text);
}

void touch(const test::TempDir& dir, const std::string& name)
{
    int fd = ::creat(dir.file(name).c_str(), 0644);
    ASSERT_GE(fd, 0) << name;
    ::close(fd);
}

}

TEST(SoundFiles, ByLoweredExtension)
{
    struct Case {
        const char16_t* path;
        const char16_t* extension;
        bool sound;
    };

    const Case cases[] = {
        { u"a.MP3", u"mp3", true },
        { u"/x/b.Wav", u"wav", true },
        { u"c.ogg", u"ogg", true },
        { u"d.wma", u"wma", true },
        { u"list.m3u", u"m3u", false },
        { u"noext", u"", false },
        { u"/music.mp3/track", u"", false },
        { u"\\card\\memo.WAV", u"wav", true },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(get_lower_extension(c.path), c.extension) << liba::to_narrow(c.path);
        EXPECT_EQ(is_supported_sound_file(c.path), c.sound) << liba::to_narrow(c.path);
    }
}

TEST(BookmarkFileName, KeepsTheWholeName)
{
    EXPECT_EQ(bookmark_file_name(u"/rec/memo.wav"), u"/rec/memo.wav.bm");
}

TEST(TwoDigitText, PadsOrKeepsTheLastTwo)
{
    const std::pair<int, const char16_t*> cases[] = {
        { 7, u"07" },
        { 42, u"42" },
        { 2007, u"07" },
        { 123, u"23" },
        { 0, u"00" },
        { -5, u"-5" },
        { -123, u"23" },
    };
    for (auto [value, text] : cases)
        EXPECT_EQ(two_digit_text(value), text) << value;
}

TEST(ReplaceAll, ScansOnAfterEachReplacement)
{
    EXPECT_EQ(replace_all(u"a%src%b", u"%src%", u"x%src%y"), u"ax%src%yb");
    EXPECT_EQ(replace_all(u"aaa", u"a", u"bb"), u"bbbbbb");
    EXPECT_EQ(replace_all(u"abcabc", u"bc", u""), u"aa");
    EXPECT_EQ(replace_all(u"none", u"x", u"y"), u"none");
    EXPECT_EQ(replace_all(u"text", u"", u"y"), u"text");
}

TEST(FileSizeToText, BytesKilobytesAndMegabytes)
{
    constexpr std::int64_t mega = 1048576;
    const std::pair<std::int64_t, const char16_t*> cases[] = {
        { 0, u"" },
        { 1, u"1B" },
        { 512, u"512B" },
        { 1023, u"1023B" },
        { 1024, u"1K" },
        { 1048575, u"1023K" },
        { mega, u"1,0M" },
        { mega + mega / 2, u"1,5M" },
        { 2 * mega - 1, u"1,9M" },
        // Beyond 32 bits.
        { 4 * 1024 * mega + 3 * mega / 4, u"4096,7M" },
        { 5 * 1024 * mega, u"5120,0M" },
        { std::numeric_limits<std::int64_t>::max(), u"8796093022207,9M" },
    };
    for (auto [size, text] : cases)
        EXPECT_EQ(file_size_to_text(size), text) << size;
}

TEST(FormatDuration, HoursMinutesSeconds)
{
    const std::pair<double, const char16_t*> cases[] = {
        { 0, u"00:00:00" },
        { 3725.9, u"01:02:05" },
        { 59.999, u"00:00:59" },
        { 359999, u"99:59:59" },
        { 360000 + 61, u"00:01:01" },
        { std::nan(""), u"00:00:00" },
    };
    for (auto [seconds, text] : cases)
        EXPECT_EQ(format_duration(seconds), text) << seconds;
    // Far out of range: some text, no undefined conversion.
    EXPECT_EQ(format_duration(1e300).size(), 8u);
    EXPECT_FALSE(format_duration(-1e300).empty());
}

TEST(FormatDateTime, TimeThenMonthDayYear)
{
    liba::DateTime time;
    ASSERT_TRUE(time.set_date(2007, 3, 5));
    ASSERT_TRUE(time.set_time(14, 30, 5));
    EXPECT_EQ(format_date_time(time), u"14:30,  03/05/07");
}

TEST(OpenFileFilters, AllSoundsThenEachType)
{
    const std::vector<FileType> types = make_open_file_filters();
    ASSERT_EQ(types.size(), 5u);
    EXPECT_EQ(types[0].label, u"Sound Files(*.mp3,*.wav,*.ogg,*.wma)");
    EXPECT_EQ(types[0].extensions, (std::vector<std::u16string> { u"mp3", u"wav", u"ogg", u"wma" }));
    const std::pair<const char16_t*, const char16_t*> singles[] = {
        { u"Mp3 files (*.mp3)", u"mp3" },
        { u"Wav files (*.wav)", u"wav" },
        { u"Ogg files (*.ogg)", u"ogg" },
        { u"Wma files (*.wma)", u"wma" },
    };
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(types[i + 1].label, singles[i].first);
        EXPECT_EQ(types[i + 1].extensions, std::vector<std::u16string> { singles[i].second });
    }
}

TEST(UniqueFileName, FirstFreeNumberForThatExtension)
{
    test::TempDir dir;
    const std::u16string folder = wide(dir.path());
    EXPECT_EQ(unique_file_name(folder, u"Memo", u"wav"), u"Memo1");
    EXPECT_EQ(unique_file_path(folder, u"Memo", u"mp3"), folder + u"/Memo1.mp3");
    EXPECT_EQ(unique_file_path(folder + u"\\", u"Memo", u"mp3"), folder + u"/Memo1.mp3");

    touch(dir, "Memo1.wav");
    touch(dir, "Memo2.wav");
    touch(dir, "Memo1.mp3");
    touch(dir, "Memo4.wav");
    EXPECT_EQ(unique_file_name(folder, u"Memo", u"wav"), u"Memo3");
    EXPECT_EQ(unique_file_name(folder, u"Memo", u"mp3"), u"Memo2");
    touch(dir, "Memo3.wav");
    EXPECT_EQ(unique_file_name(folder, u"Memo", u"wav"), u"Memo5");
}

TEST(UniqueFilePath, ABaseWithADotNamesTheFileThatWasFoundFree)
{
    test::TempDir dir;
    const std::u16string folder = wide(dir.path());
    // v1.21 is free, but swapping its ".21" for the extension would give v1.mp3.
    touch(dir, "v1.mp3");
    const std::u16string path = unique_file_path(folder, u"v1.2", u"mp3");
    EXPECT_EQ(path, folder + u"/v1.21.mp3");
}

TEST(UniqueFilePath, EveryNumberTakenGivesNothing)
{
    test::TempDir dir;
    const std::u16string folder = wide(dir.path());
    for (int n = 1; n <= 9999; ++n)
        touch(dir, "Memo" + std::to_string(n) + ".wav");
    EXPECT_EQ(unique_file_name(folder, u"Memo", u"wav"), u"");
    EXPECT_EQ(unique_file_path(folder, u"Memo", u"wav"), u"");
    // Another extension is still free.
    EXPECT_EQ(unique_file_name(folder, u"Memo", u"mp3"), u"Memo1");
}

namespace {

class FixedClock final : public platform::Clock {
public:
    std::uint32_t tick_count() const override { return 0; }

    platform::SystemTime local_time() const override
    {
        return { .year = 2007, .month = 3, .day = 5, .hour = 14, .minute = 30, .second = 5 };
    }
};

class RecordingFileName : public testing::Test {
protected:
    platform::ScopedService<platform::Clock, FixedClock> m_clock { platform::clock_slot() };
    test::TempDir m_dir;
    std::u16string m_folder { wide(m_dir.path()) };
};

}

TEST_F(RecordingFileName, NamedByThePresentLocalTime)
{
    EXPECT_EQ(recording_file_name(m_folder, u"Memo", u"mp3"), m_folder + u"/Memo 05 mar 07 14-30-05.mp3");
    EXPECT_EQ(recording_file_name(m_folder, u"", u"wav"), m_folder + u"/05 mar 07 14-30-05.wav");
    EXPECT_EQ(recording_file_name(m_folder + u"\\", u"", u"wav"), m_folder + u"/05 mar 07 14-30-05.wav");
    EXPECT_EQ(recording_file_name(m_folder + u"/", u"", u"wav"), m_folder + u"/05 mar 07 14-30-05.wav");
}

TEST_F(RecordingFileName, ASecondRecordingInTheSameSecondKeepsTheFirst)
{
    touch(m_dir, "Memo 05 mar 07 14-30-05.mp3");
    EXPECT_EQ(recording_file_name(m_folder, u"Memo", u"mp3"), m_folder + u"/Memo 05 mar 07 14-30-05 (2).mp3");
    touch(m_dir, "Memo 05 mar 07 14-30-05 (2).mp3");
    EXPECT_EQ(recording_file_name(m_folder, u"Memo", u"mp3"), m_folder + u"/Memo 05 mar 07 14-30-05 (3).mp3");
    // Another extension is another file.
    EXPECT_EQ(recording_file_name(m_folder, u"Memo", u"wav"), m_folder + u"/Memo 05 mar 07 14-30-05.wav");
}
