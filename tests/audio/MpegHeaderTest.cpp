#include "audio/readers/MpegHeader.h"

#include <gtest/gtest.h>

using audio::MpegHeader;

TEST(MpegHeader, ParsesEveryVersionAndLayer)
{
    struct Case {
        std::uint8_t bytes[4];
        MpegHeader expected; // version, layer, channels, rate, kbit/s, length, samples
    } cases[] = {
        // MPEG-1 Layer III 128 kbit/s 44100 Hz joint stereo, without and with padding.
        { { 0xFF, 0xFB, 0x90, 0x64 }, { 1, 3, 2, 44100, 128, 417, 1152 } },
        { { 0xFF, 0xFB, 0x92, 0x64 }, { 1, 3, 2, 44100, 128, 418, 1152 } },
        // MPEG-1 Layer III 320 kbit/s 32000 Hz single channel: the longest Layer III frame.
        { { 0xFF, 0xFB, 0xEA, 0xC0 }, { 1, 3, 1, 32000, 320, 1441, 1152 } },
        // MPEG-2 Layer III 64 kbit/s 22050 Hz: 72000 x 64 / 22050 = 208.98.
        { { 0xFF, 0xF3, 0x80, 0x44 }, { 2, 3, 2, 22050, 64, 208, 576 } },
        // MPEG-2 Layer II 64 kbit/s 24000 Hz.
        { { 0xFF, 0xF5, 0x84, 0x00 }, { 2, 2, 2, 24000, 64, 384, 1152 } },
        // MPEG-1 Layer I 384 kbit/s 48000 Hz, without and with padding.
        { { 0xFF, 0xFF, 0xC4, 0x00 }, { 1, 1, 2, 48000, 384, 384, 384 } },
        { { 0xFF, 0xFF, 0xC6, 0x00 }, { 1, 1, 2, 48000, 384, 388, 384 } },
        // MPEG-2 Layer I takes its own table: index 1 is 32 kbit/s.
        { { 0xFF, 0xF7, 0x14, 0x00 }, { 2, 1, 2, 24000, 32, 64, 384 } },
        // MPEG-2.5 Layer III 8 kbit/s 8000 Hz mono: bit 19 clear.
        { { 0xFF, 0xE3, 0x18, 0xC0 }, { 3, 3, 1, 8000, 8, 72, 576 } },
        // Bit 20 clear gives MPEG-2.5 whatever bit 19 holds.
        { { 0xFF, 0xEB, 0x14, 0xC0 }, { 3, 3, 1, 12000, 8, 48, 576 } },
        // MPEG-2.5 Layer II repeats the MPEG-2 rows.
        { { 0xFF, 0xE5, 0xE8, 0x00 }, { 3, 2, 2, 8000, 160, 2880, 1152 } },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        MpegHeader header;
        ASSERT_TRUE(audio::parse_mpeg_header(c.bytes, header));
        EXPECT_EQ(header, c.expected);
    }
}

TEST(MpegHeader, RefusesWhatIsNoHeader)
{
    struct Case {
        const char* why;
        std::uint8_t bytes[4];
    } cases[] = {
        { "free format (bitrate index 0)", { 0xFF, 0xFB, 0x00, 0x64 } },
        { "bitrate index 15", { 0xFF, 0xFB, 0xF0, 0x64 } },
        { "rate index 3", { 0xFF, 0xFB, 0x9C, 0x64 } },
        { "layer bits 00", { 0xFF, 0xF9, 0x90, 0x64 } },
        { "one sync bit missing", { 0xFF, 0xDB, 0x90, 0x64 } },
        { "first byte not FF", { 0xFE, 0xFB, 0x90, 0x64 } },
        { "zero bytes", { 0, 0, 0, 0 } },
    };

    MpegHeader untouched { 9, 9, 9, 9, 9, 9, 9 };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        MpegHeader header = untouched;
        EXPECT_FALSE(audio::parse_mpeg_header(c.bytes, header));
        EXPECT_EQ(header, untouched);
    }
    // The quick test alone does not look at the version bits.
    EXPECT_TRUE(audio::is_mpeg_header(0xFFEA9000));
}

TEST(MpegHeader, FramesOfOneStreamAgreeWhateverTheirBitrate)
{
    MpegHeader a, b, c;
    const std::uint8_t first[4] = { 0xFF, 0xFB, 0x90, 0x64 }; // 128 kbit/s
    const std::uint8_t faster[4] = { 0xFF, 0xFB, 0xB2, 0x64 }; // 192 kbit/s, padded
    const std::uint8_t mono[4] = { 0xFF, 0xFB, 0x90, 0xC4 };
    ASSERT_TRUE(audio::parse_mpeg_header(first, a));
    ASSERT_TRUE(audio::parse_mpeg_header(faster, b));
    ASSERT_TRUE(audio::parse_mpeg_header(mono, c));
    EXPECT_TRUE(a.agrees_with(b));
    EXPECT_FALSE(a.agrees_with(c));
}
