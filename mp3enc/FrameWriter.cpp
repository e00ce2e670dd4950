#include "mp3enc/FrameWriter.h"

#include "mp3enc/BitStream.h"
#include "mp3enc/HuffmanTables.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace mp3enc {

namespace {

// Packs fields most significant bit first into a zeroed byte array.
class FieldPacker {
public:
    explicit FieldPacker(uint8_t* bytes)
        : m_bytes(bytes)
    {
    }

    void put(int32_t value, int32_t bits)
    {
        for (int32_t i = bits - 1; i >= 0; --i, ++m_bit) {
            if ((uint32_t(value) >> i) & 1)
                m_bytes[m_bit / 8] = uint8_t(m_bytes[m_bit / 8] | (0x80 >> (m_bit % 8)));
        }
    }

private:
    uint8_t* m_bytes;
    int32_t m_bit = 0;
};

// Table 14 only stands for table 16 in the counting.
int32_t written_table(int32_t table)
{
    return table == 14 ? 16 : table;
}

void write_pair(BitStream& out, const HuffmanTable& table, int32_t x, int32_t y)
{
    int32_t ax = std::abs(x);
    int32_t ay = std::abs(y);
    if (table.linbits == 0) {
        int32_t index = ax * table.dim + ay;
        out.put_bits(table.codes[index], table.lengths[index]);
        if (x != 0)
            out.put_bits(x < 0, 1);
        if (y != 0)
            out.put_bits(y < 0, 1);
        return;
    }
    // Each value's escape bits are followed by its own sign.
    int32_t index = std::min(ax, 15) * table.dim + std::min(ay, 15);
    out.put_bits(table.codes[index], table.lengths[index]);
    if (ax >= 15)
        out.put_bits(uint32_t(ax - 15), table.linbits);
    if (x != 0)
        out.put_bits(x < 0, 1);
    if (ay >= 15)
        out.put_bits(uint32_t(ay - 15), table.linbits);
    if (y != 0)
        out.put_bits(y < 0, 1);
}

}

int32_t init_writer(Params& params)
{
    BitStream::reset(params.state->writer);
    return 0;
}

void build_side_info(const Params& params, uint8_t* bytes)
{
    const State& s = *params.state;
    const SideInfo& side = s.side;
    const bool mpeg1 = params.version == 1;
    std::memset(bytes, 0, max_side_info_bytes);
    FieldPacker out(bytes);
    out.put(params.out_rate < 16000 ? 0xffe : 0xfff, 12);
    out.put(params.version, 1);
    out.put(1, 2); // Layer III
    out.put(1, 1); // no CRC
    out.put(s.bitrate_index, 4);
    out.put(s.rate_index, 2);
    out.put(s.padding, 1);
    out.put(0, 1);
    out.put(params.mode, 2);
    out.put(s.mode_extension, 2);
    out.put(0, 1); // copyright
    out.put(1, 1); // original
    out.put(0, 2); // emphasis

    if (mpeg1) {
        out.put(side.main_data_begin, 9);
        out.put(0, s.out_channels == 1 ? 5 : 3);
        for (int32_t ch = 0; ch < s.out_channels; ++ch)
            for (int32_t group = 0; group < 4; ++group)
                out.put(side.scfsi[ch][group], 1);
    } else {
        out.put(side.main_data_begin, 8);
        out.put(0, s.out_channels == 1 ? 1 : 2);
    }
    for (int32_t gr = 0; gr < s.granules; ++gr) {
        for (int32_t ch = 0; ch < s.out_channels; ++ch) {
            const GranuleInfo& info = side.granule[gr][ch];
            out.put(info.part2_3_length, 12);
            out.put(info.big_values / 2, 9);
            out.put(info.global_gain, 8);
            out.put(info.scalefac_compress, mpeg1 ? 4 : 9);
            out.put(0, 1); // no window switching: long blocks only
            for (int32_t table : info.table_select)
                out.put(written_table(table), 5);
            out.put(info.region0_count, 4);
            out.put(info.region1_count, 3);
            if (mpeg1)
                out.put(info.preflag, 1);
            out.put(info.scalefac_scale, 1);
            out.put(info.count1table_select, 1);
        }
    }
}

int32_t write_main_data(State& state, const GranuleInfo& info)
{
    // No scalefactor bits: every scalefactor is 0 and scalefac_compress 0 gives them no length.
    BitStream out(state.writer, state.side_info_len);
    const int32_t start = out.total_bits();
    const int32_t headers = out.pending_headers();
    const int32_t* lines = info.lines;
    const int32_t big = info.big_values;
    int32_t bounds[4] = { 0, 0, 0, big };
    if (big > 0) {
        // The region starts as a decoder derives them from the region counts.
        bounds[1] = std::min(state.sfb_long[info.region0_count + 1], big);
        bounds[2] = std::min(state.sfb_long[info.region0_count + info.region1_count + 2], big);
    }
    for (int32_t r = 0; r < 3; ++r) {
        const HuffmanTable& table = huffman_tables[written_table(info.table_select[r])];
        if (table.dim == 0)
            continue;
        for (int32_t i = bounds[r]; i < bounds[r + 1]; i += 2)
            write_pair(out, table, lines[i], lines[i + 1]);
    }
    const int32_t select = info.count1table_select;
    for (int32_t i = big; i < info.count1; i += 4) {
        int32_t index = 0;
        for (int32_t k = 0; k < 4; ++k)
            index = index * 2 + (lines[i + k] != 0);
        out.put_bits(count1_codes[select][index], count1_lengths[select][index]);
        for (int32_t k = 0; k < 4; ++k) {
            if (lines[i + k] != 0)
                out.put_bits(lines[i + k] < 0, 1);
        }
    }
    // Headers that entered the stream on the way are not main data.
    const int32_t header_bits = (headers - out.pending_headers()) * 8 * state.side_info_len;
    return out.total_bits() - start - header_bits;
}

void write_ancillary(State& state, int32_t bits)
{
    BitStream out(state.writer, state.side_info_len);
    for (const char* c = ancillary_marker; *c && bits >= 8; ++c, bits -= 8)
        out.put_bits(uint8_t(*c), 8);
    if (bits >= 32) {
        for (const char* c = ancillary_version; *c && bits >= 8; ++c, bits -= 8)
            out.put_bits(uint8_t(*c), 8);
    }
    // Whole bytes of the alternating fill at once: eight toggles leave the next value as it was.
    int32_t& next = state.writer.ancillary_bit;
    const uint32_t pattern = next ? 0xaa : 0x55;
    for (; bits >= 8; bits -= 8)
        out.put_bits(pattern, 8);
    for (; bits > 0; --bits) {
        out.put_bits(uint32_t(next), 1);
        next ^= 1;
    }
}

void write_frame(Params& params, const FrameBudget& budget)
{
    State& s = *params.state;
    BitStream out(s.writer, s.side_info_len);
    build_side_info(params, s.writer.ring[s.writer.fill_index].bytes);
    out.commit_header(budget.frame_bits);

    int32_t main_bits = 0;
    for (int32_t gr = 0; gr < s.granules; ++gr)
        for (int32_t ch = 0; ch < s.out_channels; ++ch)
            main_bits += write_main_data(s, s.side.granule[gr][ch]);
    write_ancillary(s, s.side.discard_bits);

    SideInfo& side = s.side;
    side.main_data_begin += (budget.frame_bits - 8 * s.side_info_len - main_bits - side.discard_bits) / 8;
    if (side.main_data_begin * 8 != s.reservoir_size)
        s.reservoir_size = side.main_data_begin * 8;
    out.rebase_if_needed();
}

void flush_bitstream(Params& params)
{
    State& s = *params.state;
    BitStream out(s.writer, s.side_info_len);
    // Up to the end of the last queued frame, less the headers that enter on the way.
    const int32_t fill
        = out.next_write_time() - out.total_bits() - 8 * s.side_info_len * out.pending_headers();
    if (fill < 0)
        return;
    write_ancillary(s, fill);
    s.reservoir_size = 0;
    s.side.main_data_begin = 0;
}

}
