#include "model/ipc/COrvantaStatus.h"
#include "model/ipc/CSerializableBool.h"
#include "model/ipc/CSerializableString.h"
#include "tests/model/CommBlock.h"

#include <gtest/gtest.h>

using test::CommBlock;
using test::hex_bytes;

namespace {

TEST_F(CommBlock, TheStackIsSharedLastInFirstOutAndRefusesWhatDoesNotFit)
{
    ASSERT_TRUE(clipboard.is_open());
    EXPECT_EQ(used(), 0u);
    ASSERT_TRUE(clipboard.Push("abc", 3));
    ASSERT_TRUE(clipboard.Push("de", 2));
    EXPECT_EQ(used(), 5u);
    EXPECT_EQ(stack(), "abcde");
    char two[2];
    ASSERT_TRUE(clipboard.Pop(two, 2));
    EXPECT_EQ(std::string(two, 2), "de");
    char four[4];
    EXPECT_FALSE(clipboard.Pop(four, 4)) << "only three are there";
    EXPECT_EQ(stack(), "abc");

    const std::string rest(1021, 'x');
    EXPECT_TRUE(clipboard.Push(rest.data(), 1021)) << "exactly full";
    EXPECT_EQ(used(), 1024u);
    EXPECT_FALSE(clipboard.Push("y", 1));
    EXPECT_EQ(used(), 1024u);
    EXPECT_TRUE(clipboard.Push("", 0));

    // A second opening, as in the other process, sees and takes the same stack.
    CCommMemoryMappedFilesClipboard second(comm_block_capacity, std::u16string(comm_block_name));
    std::string top(1021, '\0');
    ASSERT_TRUE(second.Pop(top.data(), 1021));
    EXPECT_EQ(top, rest);
    EXPECT_TRUE(second.Clear());
    EXPECT_EQ(used(), 0u);
    EXPECT_FALSE(clipboard.Pop(two, 1));
}

TEST_F(CommBlock, AUsedLengthBeyondTheDataAreaRefusesEverythingUntilCleared)
{
    for (std::uint32_t hostile : { 1025u, 0x7fffffffu, 0xfffffffcu, 0xffffffffu }) {
        SCOPED_TRACE(hostile);
        write_block(hostile, std::string(1024, 'z'));
        char byte;
        EXPECT_FALSE(clipboard.Pop(&byte, 1));
        EXPECT_FALSE(clipboard.Push("a", 1));
        EXPECT_FALSE(CSerializableString().Read(clipboard));
        EXPECT_EQ(used(), hostile) << "left as it was";
        EXPECT_TRUE(clipboard.Clear());
        EXPECT_TRUE(clipboard.Push("a", 1));
        EXPECT_TRUE(clipboard.Clear());
    }
}

TEST_F(CommBlock, WithoutItsBlockOrAsTheNullStackNothingMoves)
{
    test::TempDir open_dir;
    const std::string open_folder = open_dir.path() + "/orvanta";
    mkdir(open_folder.c_str(), 0777);
    chmod(open_folder.c_str(), 0777);
    test::EnvironmentOverride not_private("XDG_RUNTIME_DIR", open_dir.path().c_str());
    CCommMemoryMappedFilesClipboard unmapped(comm_block_capacity, std::u16string(comm_block_name));
    CCommClipboard null_stack;
    char byte = 0;
    for (CCommClipboard* stack : { static_cast<CCommClipboard*>(&unmapped), &null_stack }) {
        EXPECT_FALSE(stack->Clear());
        EXPECT_FALSE(stack->Push("a", 1));
        EXPECT_FALSE(stack->Pop(&byte, 1));
        EXPECT_FALSE(CommRead(*stack, nullptr));
    }
    EXPECT_FALSE(unmapped.is_open());
}

TEST(CommClipboardInstance, IsTheNullStackUntilOneIsSet)
{
    CCommClipboard::SetInstance(nullptr);
    EXPECT_FALSE(CCommClipboard::GetInstance().Push("a", 1));
    auto set = std::make_unique<CCommClipboard>(8);
    CCommClipboard* kept = set.get();
    CCommClipboard::SetInstance(std::move(set));
    EXPECT_EQ(&CCommClipboard::GetInstance(), kept);
    CCommClipboard::SetInstance(nullptr);
}

TEST_F(CommBlock, ATextGoesOnWithItsZeroAndItsByteCountOnTop)
{
    ASSERT_TRUE(CSerializableString(u"ab").Write(clipboard));
    EXPECT_EQ(stack(), hex_bytes("6100 6200 0000 06000000"));
    ASSERT_TRUE(CSerializableString(u"").Write(clipboard));
    EXPECT_EQ(used(), 16u);
    EXPECT_FALSE(CSerializableString().Write(clipboard)) << "no text";
    EXPECT_FALSE(CommWrite(clipboard, nullptr));

    CSerializableString read;
    ASSERT_TRUE(CommRead(clipboard, &read));
    EXPECT_EQ(read.get_text(), u"");
    ASSERT_TRUE(read.Read(clipboard));
    EXPECT_EQ(read.get_text(), u"ab");
    EXPECT_EQ(used(), 0u);

    // The longest text that fits the block: 509 units, the zero and the count.
    const std::u16string longest(509, u'\u00e9');
    ASSERT_TRUE(CSerializableString(longest).Write(clipboard));
    ASSERT_TRUE(read.Read(clipboard));
    EXPECT_EQ(read.get_text(), longest);
    EXPECT_FALSE(CSerializableString(std::u16string(510, u'x')).Write(clipboard)) << "the count does not fit";
    EXPECT_EQ(used(), 0u) << "nothing half written";
}

TEST_F(CommBlock, HostileTextsAreRefusedAndKeepTheOldValue)
{
    struct Case {
        const char* name;
        std::uint32_t used;
        std::string bytes;
    } cases[] = {
        { "empty stack", 0, "" },
        { "count cut short", 3, hex_bytes("040000") },
        { "count of zero", 4, hex_bytes("00000000") },
        { "odd count", 7, hex_bytes("610000 03000000") },
        { "count beyond the stack", 8, hex_bytes("61000000 08000000") },
        { "count above 1024", 1024, std::string(1020, '\0') + hex_bytes("02040000") },
        { "count of 4 GiB", 8, hex_bytes("61000000 ffffffff") },
        { "no terminating zero", 8, hex_bytes("61006200 04000000") },
        { "zero in the high byte only", 8, hex_bytes("61000061 04000000") },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write_block(c.used, c.bytes);
        CSerializableString text(u"kept");
        EXPECT_FALSE(text.Read(clipboard));
        EXPECT_EQ(text.get_text(), u"kept");
    }
    // Units after a zero inside the text are not part of it.
    write_block(12, hex_bytes("6100 0000 6200 0000 08000000"));
    CSerializableString text;
    ASSERT_TRUE(text.Read(clipboard));
    EXPECT_EQ(text.get_text(), u"a");
}

TEST_F(CommBlock, ABooleanIsOneByteZeroOrOne)
{
    ASSERT_TRUE(CSerializableBool(true).Write(clipboard));
    ASSERT_TRUE(CSerializableBool(false).Write(clipboard));
    EXPECT_EQ(stack(), hex_bytes("01 00"));
    CSerializableBool value(true);
    ASSERT_TRUE(value.Read(clipboard));
    EXPECT_FALSE(value.get_value());
    ASSERT_TRUE(value.Read(clipboard));
    EXPECT_TRUE(value.get_value());
    EXPECT_FALSE(value.Read(clipboard));
    write_block(1, hex_bytes("02"));
    EXPECT_FALSE(value.Read(clipboard));
    EXPECT_TRUE(value.get_value());
}

// The record's words after the path, from length on, in hex.
std::string record(const std::string& state, const std::u16string& path, const std::string& words)
{
    std::string bytes = hex_bytes(state);
    for (std::size_t i = 0; i < 260; ++i) {
        const char16_t unit = i < path.size() ? path[i] : 0;
        bytes += static_cast<char>(unit & 0xff);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes + hex_bytes(words);
}

TEST_F(CommBlock, TheStatusRecordLiesInItsOwnOrderUnderTheBooleanTrue)
{
    ASSERT_TRUE(COrvantaStatus().Write(clipboard));
    ASSERT_TRUE(CSerializableBool(true).Write(clipboard));
    EXPECT_EQ(used(), 557u);
    // length -1, position -1, format 2, rate, bits and bitrate 0, stereo 2, time 0
    EXPECT_EQ(stack(),
        record("01000000", u"", "ffffffff ffffffff 02000000 00000000 00000000 00000000 02000000 00000000")
            + hex_bytes("01"));
    ASSERT_TRUE(clipboard.Clear());

    COrvantaStatus playing;
    playing.state = COrvantaStatus::playing_paused;
    playing.set_path(u"/m/\u00e9t\u00e9.wav");
    playing.length = 0x12345;
    playing.position = 0x10;
    playing.format = COrvantaStatus::format_wav;
    playing.sample_rate = 44100;
    playing.bits_per_sample = 16;
    playing.bitrate_kbps = 1411;
    playing.stereo = COrvantaStatus::two_channels;
    playing.position_ms = 1234;
    ASSERT_TRUE(playing.Write(clipboard));
    EXPECT_EQ(stack(),
        record("04000000", u"/m/\u00e9t\u00e9.wav",
            "45230100 10000000 01000000 44ac0000 10000000 83050000 01000000 d2040000"));

    COrvantaStatus read;
    ASSERT_TRUE(read.Read(clipboard));
    EXPECT_EQ(read.to_bytes(), playing.to_bytes());
    EXPECT_EQ(read.get_path(), u"/m/\u00e9t\u00e9.wav");
    EXPECT_EQ(used(), 0u);
    EXPECT_FALSE(read.Read(clipboard));
}

TEST(CommStatusPath, IsCutToItsFieldWithoutSplittingACharacter)
{
    COrvantaStatus status;
    status.set_path(std::u16string(300, u'a'));
    EXPECT_EQ(status.get_path(), std::u16string(260, u'a')) << "no zero when it fills the field";
    // A character outside the BMP whose halves would straddle the cut.
    status.set_path(std::u16string(259, u'a') + u"\U0001F3B5" + u"b");
    EXPECT_EQ(status.get_path(), std::u16string(259, u'a'));
    status.set_path(std::u16string(258, u'a') + u"\U0001F3B5" + u"b");
    EXPECT_EQ(status.get_path(), std::u16string(258, u'a') + u"\U0001F3B5");
    status.set_path(u"");
    EXPECT_EQ(status.to_bytes()[4], 0);
}

}
