#include "mp3enc/Encoder.h"
#include "mp3enc/FrameWriter.h"
#include "mp3enc/Quantiser.h"
#include "mp3enc/Setup.h"
#include "mp3enc/State.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

using namespace mp3enc;

namespace {

// Drives the back end as the frame loop does, from spectra made up here, so that the stream's
// coding is checked apart from the analysis.
struct SyntheticStream {
    Params* params;
    std::string bytes;
    int32_t slot_lag = 0;

    SyntheticStream(int32_t rate, int32_t channels, int32_t kbps)
        : params(create(rate, channels, kbps))
    {
        build_step_table();
        build_region_table(*params->state);
    }

    ~SyntheticStream() { destroy(params); }

    FrameBudget next_budget()
    {
        State& s = *params->state;
        const int32_t kbps = bitrate_of_index(params->version, s.bitrate_index);
        const int32_t frac = ((params->version + 1) * 72000 * kbps) % params->out_rate;
        slot_lag -= frac;
        s.padding = 0;
        if (slot_lag < 0) {
            slot_lag += params->out_rate;
            s.padding = 1;
        }
        FrameBudget budget;
        budget.frame_bits = 8 * ((params->version + 1) * 72000 * kbps / params->out_rate + s.padding);
        budget.mean_bits = (budget.frame_bits - 8 * s.side_info_len) / s.granules;
        return budget;
    }

    void frame(const std::function<int64_t(int32_t gr, int32_t ch, int32_t line)>& spectrum)
    {
        State& s = *params->state;
        for (int32_t gr = 0; gr < s.granules; ++gr)
            for (int32_t ch = 0; ch < s.out_channels; ++ch)
                for (int32_t i = 0; i < granule_lines; ++i)
                    s.spectrum[gr][ch][i] = spectrum(gr, ch, i);
        s.mode_extension = params->mode == 1 ? 2 : 0;
        const FrameBudget budget = next_budget();
        quantise_frame(*params, budget);
        write_frame(*params, budget);
        take();
    }

    void finish()
    {
        flush_bitstream(*params);
        take();
    }

    void take()
    {
        uint8_t out[writer_buffer_bytes];
        int32_t n = copy_output(*params, out, sizeof out);
        ASSERT_GE(n, 0);
        bytes.append(reinterpret_cast<char*>(out), size_t(n));
    }
};

}

TEST(Mp3Stream, SyntheticSpectraDecodeCleanly)
{
    if (!test::have_tool("ffmpeg"))
        GTEST_SKIP() << "no ffmpeg";
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, 0.02);
    SyntheticStream stream(44100, 2, 128);
    for (int32_t f = 0; f < 40; ++f) {
        stream.frame([&](int32_t, int32_t ch, int32_t i) {
            double v = (i == 20 ? 0.5 : 0) + (i < 400 ? noise(random) : 0) * (ch ? 0.5 : 1);
            return int64_t(v * 4294967296.0);
        });
    }
    stream.finish();
    test::TempDir dir;
    std::string path = dir.write("s.mp3", stream.bytes);
    auto r = test::run_tool({ "sh", "-c",
        "ffmpeg -hide_banner -v error -err_detect +crccheck+bitstream+buffer+explode -i " + path
            + " -f null - 2>&1" });
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.out, "");
}

TEST(Mp3Stream, CountedBitsAreWrittenBits)
{
    // Every frame's main data is exactly the bits its side information claims, and the frame
    // slot is filled to its end.
    std::mt19937 random(11);
    std::uniform_real_distribution<double> level(-0.3, 0.3);

    const struct {
        int32_t rate, channels, kbps;
    } configs[] = { { 44100, 2, 128 }, { 22050, 1, 24 }, { 8000, 2, 16 } };

    for (const auto& c : configs) {
        SyntheticStream stream(c.rate, c.channels, c.kbps);
        State& s = *stream.params->state;
        for (int32_t f = 0; f < 30; ++f) {
            for (int32_t gr = 0; gr < s.granules; ++gr)
                for (int32_t ch = 0; ch < s.out_channels; ++ch)
                    for (int32_t i = 0; i < granule_lines; ++i)
                        s.spectrum[gr][ch][i]
                            = i < 300 ? int64_t(level(random) * 4294967296.0 / (1 + i / 20)) : 0;
            s.mode_extension = stream.params->mode == 1 ? 2 : 0;
            const FrameBudget budget = stream.next_budget();
            quantise_frame(*stream.params, budget);
            int32_t claimed = 0;
            for (int32_t gr = 0; gr < s.granules; ++gr)
                for (int32_t ch = 0; ch < s.out_channels; ++ch)
                    claimed += s.side.granule[gr][ch].part2_3_length;
            const int32_t before = s.writer.total_bits;
            const int32_t pending
                = (s.writer.fill_index - s.writer.write_index + header_ring_size) % header_ring_size;
            write_frame(*stream.params, budget);
            const int32_t emitted = pending + 1
                - (s.writer.fill_index - s.writer.write_index + header_ring_size) % header_ring_size;
            EXPECT_EQ(
                s.writer.total_bits - before - emitted * 8 * s.side_info_len - s.side.discard_bits, claimed)
                << c.rate << " frame " << f;
            // What is left before the next frame's slot is what main_data_begin announces, besides
            // the headers still waiting.
            const int32_t waiting
                = (s.writer.fill_index - s.writer.write_index + header_ring_size) % header_ring_size;
            EXPECT_EQ(s.writer.ring[s.writer.fill_index].write_time - s.writer.total_bits,
                s.side.main_data_begin * 8 + waiting * 8 * s.side_info_len);
            stream.take();
        }
    }
}

TEST(Mp3Stream, ReservoirStaysInBoundsOverLongNoise)
{
    const struct {
        int32_t rate, channels, kbps;
        double seconds;
    } configs[] = { { 44100, 2, 128, 8 }, { 22050, 1, 32, 12 }, { 8000, 1, 8, 12 } };

    std::mt19937 random(5);
    std::uniform_int_distribution<int> sample(-20000, 20000);
    for (const auto& c : configs) {
        Params* p = create(c.rate, c.channels, c.kbps);
        ASSERT_NE(p, nullptr);
        const State& s = *p->state;
        const int32_t limit = p->version == 1 ? 4088 : 2040;
        std::vector<int16_t> left(size_t(p->frame_size)), right(size_t(p->frame_size));
        std::vector<uint8_t> out(writer_buffer_bytes);
        const int32_t calls = int32_t(c.seconds * c.rate) / p->frame_size;
        for (int32_t call = 0; call < calls; ++call) {
            // Noise with quiet stretches, so the reservoir both fills and drains.
            const double gain = (call / 20) % 3 == 0 ? 0.01 : 1.0;
            for (size_t i = 0; i < left.size(); ++i) {
                left[i] = int16_t(sample(random) * gain);
                right[i] = int16_t(sample(random) * gain);
            }
            ASSERT_GE(
                encode(p, left.data(), right.data(), p->frame_size, out.data(), writer_buffer_bytes), 0);
            EXPECT_GE(s.reservoir_size, 0);
            EXPECT_LE(s.reservoir_size, std::min(s.reservoir_max, limit));
            EXPECT_EQ(s.reservoir_size % 8, 0);
            EXPECT_EQ(s.reservoir_size, s.side.main_data_begin * 8);
        }
        destroy(p);
    }
}

TEST(Mp3Stream, FlushFitsItsBoundAndKeepsToTheSpaceGiven)
{
    // The largest frames at each version: flush returns up to five (MPEG-2.5 at 160 kbit/s).
    const struct {
        int32_t rate, channels, kbps;
    } configs[] = { { 8000, 2, 160 }, { 48000, 2, 320 }, { 32000, 1, 320 }, { 44100, 2, 256 } };

    std::mt19937 random(3);
    for (const auto& c : configs) {
        for (int32_t samples : { 0, 500, 582, 1300, 2100 }) {
            for (bool small : { false, true }) {
                Params* p = create(c.rate, c.channels, c.kbps);
                std::vector<int16_t> left(max_samples_per_call), right(max_samples_per_call);
                std::vector<uint8_t> out(max_flush_bytes + 64, 0xee);
                // One frame's samples per call, as the recorder passes them.
                for (int32_t left_over = samples; left_over > 0; left_over -= p->frame_size) {
                    const int32_t n = std::min(left_over, p->frame_size);
                    for (int32_t i = 0; i < n; ++i) {
                        left[size_t(i)] = int16_t(random() % 40000 - 20000);
                        right[size_t(i)] = int16_t(random() % 40000 - 20000);
                    }
                    uint8_t frames[writer_buffer_bytes];
                    ASSERT_GE(encode(p, left.data(), right.data(), n, frames, sizeof frames), 0);
                }
                const int32_t room = small ? 1000 : max_flush_bytes;
                const int32_t bytes = flush(p, out.data(), room);
                if (small) {
                    // Too little room: refused, nothing written past it.
                    EXPECT_TRUE(bytes == -1 || bytes <= room);
                } else {
                    EXPECT_GT(bytes, 0) << c.rate << " " << samples;
                    EXPECT_LE(bytes, max_flush_bytes);
                }
                EXPECT_EQ(out[size_t(room)], 0xee);
                destroy(p);
            }
        }
    }
}

TEST(Mp3Stream, SilenceFillsTheReservoirAndDiscardsWithOurMarker)
{
    Params* p = create(44100, 1, 64);
    std::vector<int16_t> silence(size_t(p->frame_size), 0);
    std::vector<uint8_t> out(max_flush_bytes);
    std::string mp3;
    for (int32_t call = 0; call < 12; ++call) {
        const int32_t n
            = encode(p, silence.data(), silence.data(), p->frame_size, out.data(), writer_buffer_bytes);
        ASSERT_GE(n, 0);
        mp3.append(reinterpret_cast<char*>(out.data()), size_t(n));
    }
    const int32_t n = flush(p, out.data(), max_flush_bytes);
    ASSERT_GE(n, 0);
    mp3.append(reinterpret_cast<char*>(out.data()), size_t(n));
    destroy(p);

    // The first frame starts the stream with main_data_begin 0.
    ASSERT_GT(mp3.size(), 6u);
    EXPECT_EQ(uint8_t(mp3[0]), 0xff);
    EXPECT_EQ(uint8_t(mp3[4]), 0);
    EXPECT_EQ(uint8_t(mp3[5]) & 0x80, 0);
    // Once the reservoir is full, what it discards is our marker, the version and then
    // alternating bits; the end of the stream is filled the same way.
    const size_t marker = mp3.find("ORVA1.8");
    ASSERT_NE(marker, std::string::npos);
    EXPECT_TRUE(mp3[marker + 7] == '\x55' || mp3[marker + 7] == '\xaa');
    EXPECT_NE(mp3.rfind("ORVA"), marker);
    EXPECT_EQ(mp3.find("LAME"), std::string::npos);
}
