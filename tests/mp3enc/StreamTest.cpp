#include "mp3enc/Encoder.h"
#include "mp3enc/FrameWriter.h"
#include "mp3enc/Quantiser.h"
#include "mp3enc/Setup.h"
#include "mp3enc/State.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
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
        "ffmpeg -hide_banner -v error -err_detect +crccheck+bitstream+buffer+explode -i " + path + " -f null - 2>&1" });
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.out, "");
}
