#include "platform/core/Memory.h"
#include "platform/media/WaveDriver.h"
#include "platform/media/headless/ScriptedWaveDriver.h"
#include "tests/platform/WaveMessages.h"

#include <gtest/gtest.h>
#include <limits>
#include <numeric>
#include <utility>

using namespace platform;
using platform::headless::ScriptedWaveDriver;

namespace {

constexpr WaveFormat stereo16 { 2, 16, 44100 };
constexpr WaveFormat mono8 { 1, 8, 8000 };

struct Block {
    std::vector<uint8_t> bytes;
    WaveBuffer header;

    explicit Block(std::vector<uint8_t> data)
        : bytes(std::move(data))
    {
        header.data = bytes.data();
        header.length = static_cast<uint32_t>(bytes.size());
    }

    explicit Block(size_t size, uint8_t first = 0)
        : Block(std::vector<uint8_t>(size))
    {
        std::iota(bytes.begin(), bytes.end(), first);
    }
};

std::vector<uint8_t> concat(std::initializer_list<const Block*> blocks)
{
    std::vector<uint8_t> all;
    for (const Block* b : blocks)
        all.insert(all.end(), b->bytes.begin(), b->bytes.end());
    return all;
}

}

TEST(WaveOut, PlaysWrittenBuffersInOrderThenSilence)
{
    ScriptedWaveDriver driver;
    test::WaveMessages messages;
    auto out = driver.open_output(stereo16, messages.poster());
    ASSERT_TRUE(out);
    EXPECT_EQ(messages.numbers(), std::vector<uint32_t> { msg::wave_out_open });

    Block a(12, 1), b(0), c(8, 100);
    for (Block* block : { &a, &b, &c }) {
        ASSERT_TRUE(out->prepare(block->header));
        ASSERT_TRUE(out->write(block->header));
    }
    // Buffer boundaries fall inside a render: a ends mid-way, empty b with it.
    std::vector<uint8_t> played = driver.play(16);
    EXPECT_EQ(messages.numbers(),
        (std::vector<uint32_t> { msg::wave_out_open, msg::wave_out_done, msg::wave_out_done }));
    std::vector<uint8_t> rest = driver.play(8);
    played.insert(played.end(), rest.begin(), rest.end());

    std::vector<uint8_t> expected = concat({ &a, &c });
    expected.resize(24, 0);
    EXPECT_EQ(played, expected);

    auto all = messages.all();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[1].buffer(), &a.header);
    EXPECT_EQ(all[2].buffer(), &b.header);
    EXPECT_EQ(all[3].buffer(), &c.header);
    EXPECT_EQ(c.header.flags, WaveBuffer::Done | WaveBuffer::Prepared);
}

TEST(WaveOut, SilenceIsCentredForEightBit)
{
    ScriptedWaveDriver driver;
    test::WaveMessages messages;
    auto out = driver.open_output(mono8, messages.poster());
    ASSERT_TRUE(out);
    EXPECT_EQ(driver.play(3), std::vector<uint8_t>(3, 0x80));
}

TEST(WaveOut, ResetHandsBackEveryBufferBeforeReturningAndCloseWaitsForIt)
{
    ScriptedWaveDriver driver;
    test::WaveMessages messages;
    auto out = driver.open_output(stereo16, messages.poster());
    Block a(8), b(8);
    for (Block* block : { &a, &b }) {
        out->prepare(block->header);
        out->write(block->header);
    }
    driver.play(4); // a is half played
    EXPECT_FALSE(out->close());
    EXPECT_FALSE(out->unprepare(a.header));

    ASSERT_TRUE(out->reset());
    auto all = messages.all();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[1].buffer(), &a.header);
    EXPECT_EQ(all[2].buffer(), &b.header);

    EXPECT_TRUE(out->unprepare(a.header));
    ASSERT_TRUE(out->close());
    EXPECT_EQ(messages.numbers().back(), msg::wave_out_close);
    EXPECT_FALSE(out->write(b.header));
    EXPECT_FALSE(out->close());
}

TEST(WaveOut, PausedDevicePlaysSilenceAndKeepsItsPlace)
{
    ScriptedWaveDriver driver;
    test::WaveMessages messages;
    auto out = driver.open_output(stereo16, messages.poster());
    Block a(8, 1);
    out->prepare(a.header);
    out->write(a.header);
    EXPECT_EQ(driver.play(4), (std::vector<uint8_t> { 1, 2, 3, 4 }));
    out->pause();
    EXPECT_EQ(driver.play(4), std::vector<uint8_t>(4, 0));
    out->restart();
    EXPECT_EQ(driver.play(4), (std::vector<uint8_t> { 5, 6, 7, 8 }));
    out->reset();
}

TEST(WaveOut, RefusesMisuse)
{
    ScriptedWaveDriver driver;
    test::WaveMessages messages;
    auto out = driver.open_output(stereo16, messages.poster());
    Block a(8);
    EXPECT_FALSE(out->write(a.header)) << "unprepared";
    out->prepare(a.header);
    EXPECT_TRUE(out->write(a.header));
    EXPECT_FALSE(out->write(a.header)) << "already queued";
    EXPECT_FALSE(out->prepare(a.header)) << "queued";
    out->reset();
}

TEST(WaveOut, VolumeScalesEachChannel)
{
    struct Case {
        WaveFormat format;
        uint32_t volume;
        std::vector<uint8_t> in, out;
    };

    const Case cases[] = {
        // unity leaves every sample alone
        { stereo16, 0xFFFFFFFF, { 0x00, 0x80, 0xFF, 0x7F }, { 0x00, 0x80, 0xFF, 0x7F } },
        // left at half, right muted: -32768 -> -16384, 32767 -> 0
        { stereo16, 0x00008000, { 0x00, 0x80, 0xFF, 0x7F }, { 0x00, 0xC0, 0x00, 0x00 } },
        // mono takes the low word; 8-bit scales around 128
        { mono8, 0x0000FFFF, { 0, 255 }, { 0, 255 } },
        { mono8, 0xFFFF8000, { 0, 255, 128 }, { 64, 191, 128 } },
        { mono8, 0xFFFF0000, { 0, 255 }, { 128, 128 } },
    };
    for (const Case& c : cases) {
        ScriptedWaveDriver driver;
        test::WaveMessages messages;
        auto out = driver.open_output(c.format, messages.poster());
        out->set_volume(c.volume);
        Block a(c.in);
        out->prepare(a.header);
        out->write(a.header);
        EXPECT_EQ(driver.play(c.in.size()), c.out) << std::hex << c.volume;
        EXPECT_EQ(a.bytes, c.in) << "the caller's buffer is not touched";
    }
}

TEST(WaveDriver, FailedOpenPostsNothing)
{
    const WaveFormat bad[]
        = { { 3, 16, 44100 }, { 0, 16, 44100 }, { 1, 24, 44100 }, { 1, 16, 0 }, { 2, 8, -1 } };
    ScriptedWaveDriver driver;
    test::WaveMessages messages;
    for (const WaveFormat& format : bad) {
        EXPECT_FALSE(driver.open_output(format, messages.poster()));
        EXPECT_FALSE(driver.open_input(format, messages.poster()));
    }
    driver.set_open_fails(true);
    EXPECT_FALSE(driver.open_output(stereo16, messages.poster()));
    EXPECT_TRUE(messages.all().empty());

    // Without an installed driver there is no device at all.
    EXPECT_FALSE(wave_driver().open_output(stereo16, messages.poster()));
    {
        platform::ScopedService<WaveDriver, ScriptedWaveDriver> installed(wave_driver_slot());
        EXPECT_TRUE(wave_driver().open_output(stereo16, messages.poster()));
    }
    EXPECT_FALSE(wave_driver().open_output(stereo16, messages.poster()));
}

TEST(WaveIn, CapturesOnlyAfterStartIntoBuffersInOrder)
{
    ScriptedWaveDriver driver;
    test::WaveMessages messages;
    auto in = driver.open_input(mono8, messages.poster());
    ASSERT_TRUE(in);
    Block a(4), b(3);
    for (Block* block : { &a, &b }) {
        ASSERT_TRUE(in->prepare(block->header));
        ASSERT_TRUE(in->add_buffer(block->header));
    }
    driver.capture({ 9, 9 }); // not started: dropped
    ASSERT_TRUE(in->start());
    driver.capture({ 1, 2, 3, 4, 5, 6, 7, 8, 9 }); // 8 and 9 find no buffer

    auto all = messages.all();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].message, msg::wave_in_open);
    EXPECT_EQ(all[1].message, msg::wave_in_data);
    EXPECT_EQ(all[1].buffer(), &a.header);
    EXPECT_EQ(all[2].buffer(), &b.header);
    EXPECT_EQ(a.bytes, (std::vector<uint8_t> { 1, 2, 3, 4 }));
    EXPECT_EQ(b.bytes, (std::vector<uint8_t> { 5, 6, 7 }));
    EXPECT_EQ(b.header.bytes_recorded, 3u);
    EXPECT_TRUE(b.header.flags & WaveBuffer::Done);

    // Added again, a buffer starts empty and loses its done mark.
    ASSERT_TRUE(in->add_buffer(a.header));
    EXPECT_EQ(a.header.bytes_recorded, 0u);
    EXPECT_FALSE(a.header.flags & WaveBuffer::Done);
    in->reset();
}

TEST(WaveIn, StopReturnsThePartlyFilledHeadAndResetTheRestBeforeClose)
{
    ScriptedWaveDriver driver;
    test::WaveMessages messages;
    auto in = driver.open_input(mono8, messages.poster());
    Block a(4), b(4), c(4);
    for (Block* block : { &a, &b, &c }) {
        in->prepare(block->header);
        in->add_buffer(block->header);
    }
    in->start();
    driver.capture({ 1, 2 });
    ASSERT_TRUE(in->stop());
    driver.capture({ 3 }); // stopped: dropped
    auto all = messages.all();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[1].buffer(), &a.header);
    EXPECT_EQ(a.header.bytes_recorded, 2u);

    EXPECT_FALSE(in->close()) << "b and c are still queued";
    in->start();
    driver.capture({ 4 });
    ASSERT_TRUE(in->reset());
    ASSERT_TRUE(in->close());
    all = messages.all();
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(all[2].buffer(), &b.header);
    EXPECT_EQ(b.header.bytes_recorded, 1u);
    EXPECT_EQ(all[3].buffer(), &c.header);
    EXPECT_EQ(c.header.bytes_recorded, 0u);
    EXPECT_EQ(all[4].message, msg::wave_in_close);
}

TEST(WaveIn, StartCanFail)
{
    ScriptedWaveDriver driver;
    test::WaveMessages messages;
    auto in = driver.open_input(mono8, messages.poster());
    driver.set_start_fails(true);
    EXPECT_FALSE(in->start());
    EXPECT_FALSE(in->is_started());
}

namespace {
uint64_t little_memory()
{
    return 5;
}
}

TEST(Memory, ProbeReadsTheSystemAndCanBeReplaced)
{
    EXPECT_GT(available_physical_memory(), 1000000u);
    set_memory_probe(&little_memory);
    EXPECT_EQ(available_physical_memory(), 5u);
    set_memory_probe(nullptr);
    EXPECT_GT(available_physical_memory(), 1000000u);
}

TEST(Memory, MemInfoGivesMemAvailableInBytesElsePlenty)
{
    constexpr uint64_t plenty = std::numeric_limits<uint64_t>::max();
    const std::pair<const char*, uint64_t> cases[] = {
        { "MemTotal:       16000000 kB\nMemFree:  100 kB\nMemAvailable:    2048 kB\n", 2048u * 1024 },
        { "MemAvailable:\t7 kB", 7u * 1024 },
        { "MemTotal: 5 kB\n", plenty },
        { "MemAvailable: -5 kB\n", plenty },
        { "MemAvailable: 99999999999999999999999 kB\n", plenty }, // too large to count
        { "XMemAvailable: 5 kB\nMemAvailable: 6 kB\n", 6u * 1024 },
        { "", plenty },
    };
    for (const auto& [text, bytes] : cases)
        EXPECT_EQ(parse_meminfo(text), bytes) << text;
}
