#include "mp3enc/BitStream.h"

#include "mp3enc/Encoder.h"
#include "mp3enc/FrameWriter.h"
#include "mp3enc/HuffmanTables.h"
#include "mp3enc/State.h"
#include "tests/mp3enc/EncoderHandle.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using namespace mp3enc;

namespace {

std::vector<uint8_t> written(const BitWriter& w)
{
    return { w.buffer, w.buffer + w.byte_pos + 1 };
}

void queue_header(BitStream& out, BitWriter& w, std::vector<uint8_t> bytes, int32_t frame_bits)
{
    std::copy(bytes.begin(), bytes.end(), w.ring[w.fill_index].bytes);
    out.commit_header(frame_bits);
}

// Reads fields most significant bit first.
struct FieldReader {
    const uint8_t* bytes;
    int32_t bit = 0;

    uint32_t get(int32_t count)
    {
        uint32_t v = 0;
        for (int32_t i = 0; i < count; ++i, ++bit)
            v = (v << 1) | ((bytes[bit / 8] >> (7 - bit % 8)) & 1);
        return v;
    }
};

}

TEST(Mp3BitStream, HeadersEnterTheStreamAtTheirSlots)
{
    auto w = std::make_unique<BitWriter>();
    BitStream out(*w, 2);
    BitStream::reset(*w);
    queue_header(out, *w, { 0xaa, 0xbb }, 48);
    out.put_bits(0x0102, 16);
    out.put_bits(0x3, 2); // a code across a byte boundary
    out.put_bits(0x0, 6);
    out.put_bits(0x04, 8);
    // The next frame's header waits until its slot, 48 bits after the first.
    queue_header(out, *w, { 0xcc, 0xdd }, 48);
    EXPECT_EQ(out.pending_headers(), 1);
    out.put_bits(0x0506, 16);
    EXPECT_EQ(out.pending_headers(), 0);
    EXPECT_EQ(
        written(*w), (std::vector<uint8_t> { 0xaa, 0xbb, 0x01, 0x02, 0xc0, 0x04, 0xcc, 0xdd, 0x05, 0x06 }));
    EXPECT_EQ(out.total_bits(), 80);
}

TEST(Mp3BitStream, LongStreamsRebaseTheBitCount)
{
    auto w = std::make_unique<BitWriter>();
    BitStream out(*w, 2);
    BitStream::reset(*w);
    w->total_bits = w->ring[0].write_time = 999999600;
    queue_header(out, *w, { 0xaa, 0xbb }, 800);
    for (int i = 0; i < 98; ++i)
        out.put_bits(0x11, 8);
    out.rebase_if_needed();
    EXPECT_EQ(out.total_bits(), 0);
    queue_header(out, *w, { 0xcc, 0xdd }, 800);
    out.put_bits(0x22, 8);
    std::vector<uint8_t> bytes = written(*w);
    ASSERT_EQ(bytes.size(), 103u);
    EXPECT_EQ(bytes[100], 0xcc);
    EXPECT_EQ(bytes[102], 0x22);
}

TEST(Mp3BitStream, WritesStopAtTheEndOfTheBuffer)
{
    auto w = std::make_unique<BitWriter>();
    BitStream out(*w, 4);
    BitStream::reset(*w);
    for (int i = 0; i < writer_buffer_bytes + 100; ++i)
        out.put_bits(0xff, 8);
    EXPECT_EQ(w->byte_pos, writer_buffer_bytes - 1);
}

TEST(Mp3BitStream, HeaderFields)
{
    struct Case {
        int32_t rate, channels, kbps;
        uint8_t head[4];
        int32_t side_bytes;
    };

    const Case cases[] = {
        { 44100, 2, 128, { 0xff, 0xfb, 0x90, 0x64 }, 36 }, // MPEG-1, joint stereo with mid/side
        { 44100, 1, 64, { 0xff, 0xfb, 0x50, 0xc4 }, 21 }, // MPEG-1 mono
        { 22050, 1, 32, { 0xff, 0xf3, 0x40, 0xc4 }, 13 }, // MPEG-2
        { 8000, 1, 16, { 0xff, 0xe3, 0x28, 0xc4 }, 13 }, // MPEG-2.5: 12-bit sync 0xFFE
    };
    for (const Case& c : cases) {
        EncoderHandle h(c.rate, c.channels, c.kbps);
        ASSERT_NE(h.params, nullptr);
        State& s = h.state();
        EXPECT_EQ(s.side_info_len, c.side_bytes);
        s.mode_extension = c.channels == 2 ? 2 : 0;
        uint8_t bytes[max_side_info_bytes];
        build_side_info(*h.params, bytes);
        EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 4), std::vector<uint8_t>(c.head, c.head + 4)) << c.rate;
    }
}

TEST(Mp3BitStream, SideInformationLayout)
{
    // MPEG-1 stereo: the fields of granule 1, channel 1 sit where the standard puts them.
    EncoderHandle h(44100, 2, 128);
    State& s = h.state();
    s.side.main_data_begin = 300;
    for (auto& flags : s.side.scfsi)
        for (auto& f : flags)
            f = 1;
    GranuleInfo& g = s.side.granule[1][1];
    g.part2_3_length = 4000;
    g.big_values = 500;
    g.global_gain = 171;
    g.table_select[0] = 14;
    g.table_select[1] = 31;
    g.table_select[2] = 5;
    g.region0_count = 9;
    g.region1_count = 5;
    g.count1table_select = 1;
    uint8_t bytes[max_side_info_bytes];
    build_side_info(*h.params, bytes);
    FieldReader in { bytes, 32 };
    EXPECT_EQ(in.get(9), 300u);
    EXPECT_EQ(in.get(3), 0u);
    EXPECT_EQ(in.get(8), 0xffu);
    in.bit += 3 * 59;
    EXPECT_EQ(in.get(12), 4000u);
    EXPECT_EQ(in.get(9), 250u);
    EXPECT_EQ(in.get(8), 171u);
    EXPECT_EQ(in.get(4), 0u); // scalefac_compress
    EXPECT_EQ(in.get(1), 0u); // no window switching
    EXPECT_EQ(in.get(5), 16u); // table 14 is written as 16
    EXPECT_EQ(in.get(5), 31u);
    EXPECT_EQ(in.get(5), 5u);
    EXPECT_EQ(in.get(4), 9u);
    EXPECT_EQ(in.get(3), 5u);
    EXPECT_EQ(in.get(3), 1u); // preflag 0, scalefac_scale 0, count1table_select 1
    EXPECT_EQ(in.bit, 36 * 8);

    // MPEG-2 mono: 8-bit main_data_begin, 1 private bit, 9-bit scalefac_compress, no preflag.
    EncoderHandle m(22050, 1, 32);
    State& ms = m.state();
    ms.side.main_data_begin = 200;
    ms.side.granule[0][0].global_gain = 99;
    ms.side.granule[0][0].count1table_select = 1;
    build_side_info(*m.params, bytes);
    FieldReader mono { bytes, 32 };
    EXPECT_EQ(mono.get(8), 200u);
    mono.bit += 1 + 12 + 9;
    EXPECT_EQ(mono.get(8), 99u);
    mono.bit += 9 + 1 + 15 + 4 + 3 + 1;
    EXPECT_EQ(mono.get(1), 1u);
    EXPECT_EQ(mono.bit, 13 * 8);
}

TEST(Mp3BitStream, AncillaryFillCarriesOurMarker)
{
    struct Case {
        int32_t bits;
        std::string bytes;
    };

    const Case cases[] = {
        { 64, "ORVA1.8\x55" },
        { 56, "ORVA\x55\x55\x55" }, // the version needs 32 bits left
        { 40, "ORVA\x55" }, // under 32 bits after the marker: no version
        { 16, "OR" },
    };
    for (const Case& c : cases) {
        EncoderHandle h(44100, 1, 64);
        write_ancillary(h.state(), c.bits);
        const BitWriter& w = h.state().writer;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(w.buffer), size_t(w.byte_pos + 1)), c.bytes)
            << c.bits;
    }
    // The alternating bits carry on from where the last fill stopped.
    EncoderHandle h(44100, 1, 64);
    write_ancillary(h.state(), 3);
    write_ancillary(h.state(), 5);
    EXPECT_EQ(h.state().writer.buffer[0], 0x55);
}

TEST(Mp3BitStream, MainData)
{
    EncoderHandle h(44100, 1, 64);
    State& s = h.state();
    auto bits_of = [&](const GranuleInfo& g) {
        BitStream::reset(s.writer);
        const int32_t count = write_main_data(s, g);
        std::string out;
        FieldReader in { s.writer.buffer };
        for (int32_t i = 0; i < count; ++i)
            out += char('0' + in.get(1));
        return out;
    };

    // An all-zero granule writes nothing.
    GranuleInfo zero;
    EXPECT_EQ(bits_of(zero), "");

    // Escapes: each value's escape bits come before its own sign (table 17, two escape bits).
    GranuleInfo g;
    g.lines[0] = 16;
    g.lines[1] = -17;
    g.big_values = g.count1 = 2;
    g.table_select[0] = 17;
    const HuffmanTable& t = huffman_tables[17];
    std::string code;
    for (int32_t i = t.lengths[15 * 16 + 15] - 1; i >= 0; --i)
        code += char('0' + ((t.codes[15 * 16 + 15] >> i) & 1));
    EXPECT_EQ(bits_of(g), code + "01" + "0" + "10" + "1");

    // Quadruples: code of table B, then one sign per non-zero value in order.
    GranuleInfo q;
    q.lines[0] = -1;
    q.lines[2] = 1;
    q.count1 = 4;
    q.count1table_select = 1;
    EXPECT_EQ(bits_of(q),
        "0101"
        "1"
        "0"); // 1010 in table B is 0101
}
