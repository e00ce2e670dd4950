#include "mp3enc/Encoder.h"
#include "mp3enc/Filterbank.h"

#include "mp3enc/State.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

struct Deleter {
    void operator()(mp3enc::Params* p) const { mp3enc::destroy(p); }
};

using Handle = std::unique_ptr<mp3enc::Params, Deleter>;

Handle make(int rate, int channels, int kbps)
{
    return Handle(mp3enc::create(rate, channels, kbps));
}

std::vector<int16_t> ramp(int count, int start = 1)
{
    std::vector<int16_t> x(count);
    for (int n = 0; n < count; ++n)
        x[n] = int16_t((start + n) % 30000);
    return x;
}

// Feeds left (and the same as right) in chunks of the given sizes, cycled; collects the output.
std::vector<uint8_t> feed(mp3enc::Params* p, const std::vector<int16_t>& x, std::vector<int> chunks)
{
    std::vector<uint8_t> out;
    uint8_t buffer[2500];
    size_t at = 0;
    for (size_t c = 0; at < x.size(); ++c) {
        const int n = std::min<int>(chunks[c % chunks.size()], int(x.size() - at));
        const int bytes = mp3enc::encode(p, &x[at], &x[at], n, buffer, sizeof buffer);
        EXPECT_GE(bytes, 0);
        if (bytes > 0)
            out.insert(out.end(), buffer, buffer + bytes);
        at += n;
    }
    return out;
}

}

// The stream leads with 528 zero samples, and a frame is made only once the buffers hold a whole
// frame plus the filterbank's look-ahead.
TEST(Mp3EncFrameLoop, FirstFrameWaitsForTheFillTarget)
{
    struct Case {
        int rate, channels, kbps, target;
    } cases[]
        = { { 44100, 1, 64, 2014 }, { 44100, 2, 128, 2014 }, { 22050, 1, 32, 1438 }, { 8000, 1, 16, 1438 } };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        Handle p = make(c.rate, c.channels, c.kbps);
        ASSERT_TRUE(p);
        const int needed = c.target - 528;
        const auto x = ramp(needed);
        feed(p.get(), std::vector<int16_t>(x.begin(), x.end() - 1), { 100 });
        EXPECT_FALSE(p->state->primed);
        EXPECT_EQ(p->state->samples_held, c.target - 1);
        feed(p.get(), { x.back() }, { 1 });
        EXPECT_TRUE(p->state->primed);
        // One frame moved out; the rest moved down to the start of the buffers.
        const auto& s = *p->state;
        EXPECT_EQ(s.samples_held, c.target - p->frame_size);
        EXPECT_EQ(s.samples_to_encode, 1728 + needed - p->frame_size);
        for (int ch = 0; ch < c.channels; ++ch) {
            for (int i = 0; i < s.samples_held; ++i) {
                const int n = i + p->frame_size - 528;
                ASSERT_EQ(s.frame_buffer[ch][i], n < 0 ? 0 : x[n]) << i;
            }
        }
    }
}

TEST(Mp3EncFrameLoop, ChunkingDoesNotChangeTheStream)
{
    struct Case {
        int rate, channels, kbps;
    } cases[] = { { 44100, 2, 128 }, { 22050, 1, 32 }, { 44100, 2, 64 }, { 96000, 2, 128 } };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        const auto x = ramp(30000, 5);
        Handle a = make(c.rate, c.channels, c.kbps);
        Handle b = make(c.rate, c.channels, c.kbps);
        ASSERT_TRUE(a && b);
        const auto out_a = feed(a.get(), x, { a->frame_size });
        const auto out_b = feed(b.get(), x, { 1, 1152, 77, 500, 1000 });
        EXPECT_EQ(out_a, out_b);
        EXPECT_EQ(a->state->samples_held, b->state->samples_held);
        EXPECT_EQ(a->state->samples_to_encode, b->state->samples_to_encode);
        EXPECT_EQ(0, std::memcmp(a->state->spectrum, b->state->spectrum, sizeof a->state->spectrum));
        for (int ch = 0; ch < c.channels; ++ch) {
            EXPECT_EQ(0,
                std::memcmp(a->state->frame_buffer[ch], b->state->frame_buffer[ch],
                    a->state->samples_held * sizeof(int16_t)));
        }
    }
}

// 96 kHz in, 48 kHz out: every input sample counts half.
TEST(Mp3EncFrameLoop, ResamplesBeforeBuffering)
{
    Handle p = make(96000, 2, 128);
    ASSERT_TRUE(p);
    ASSERT_EQ(p->out_rate, 48000);
    const auto x = ramp(1152);
    uint8_t out[2500];
    int frames = 0;
    for (int call = 0; call < 10; ++call) {
        const int held = p->state->samples_held;
        ASSERT_GE(mp3enc::encode(p.get(), x.data(), x.data(), 1152, out, sizeof out), 0);
        // A call brings fewer samples than a frame, so a frame shows as a drop of what is held.
        frames += p->state->samples_held < held;
    }
    EXPECT_EQ(frames, 4);
    const int produced = p->state->samples_held - 528 + frames * 1152;
    EXPECT_NEAR(produced, 1152 * 5, 40);
}

TEST(Mp3EncFrameLoop, RefusesBadCalls)
{
    Handle p = make(44100, 2, 128);
    ASSERT_TRUE(p);
    std::vector<int16_t> x(1153, 0);
    uint8_t out[2500];
    EXPECT_EQ(mp3enc::encode(p.get(), x.data(), x.data(), 0, out, sizeof out), 0);
    EXPECT_EQ(p->state->samples_held, 528);
    EXPECT_EQ(mp3enc::encode(p.get(), x.data(), x.data(), 1153, out, sizeof out), -1);
    EXPECT_EQ(mp3enc::encode(p.get(), x.data(), x.data(), -1, out, sizeof out), -1);
    EXPECT_EQ(mp3enc::encode(p.get(), x.data(), nullptr, 10, out, sizeof out), -1); // stereo needs right
    EXPECT_EQ(mp3enc::encode(p.get(), nullptr, x.data(), 10, out, sizeof out), -1);
    EXPECT_EQ(mp3enc::encode(p.get(), x.data(), x.data(), 10, out, -5), -1);
    EXPECT_EQ(mp3enc::encode(nullptr, x.data(), x.data(), 10, out, sizeof out), -1);
    EXPECT_EQ(mp3enc::flush(nullptr, out, sizeof out), -1);
    EXPECT_EQ(p->state->samples_held, 528);

    Handle mono = make(44100, 1, 64);
    ASSERT_TRUE(mono);
    EXPECT_EQ(mp3enc::encode(mono.get(), x.data(), nullptr, 1152, out, sizeof out), 0);
}

TEST(Mp3EncFrameLoop, CopyOutHonoursTheBound)
{
    Handle p = make(44100, 1, 64);
    ASSERT_TRUE(p);
    auto& w = p->state->writer;
    for (int i = 0; i < 10; ++i)
        w.buffer[i] = uint8_t(i + 1);
    w.byte_pos = 9;
    uint8_t out[16] = {};
    EXPECT_EQ(mp3enc::copy_output(*p, out, 9), -1);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(w.byte_pos, 9);
    // 0 leaves the buffer unbounded.
    EXPECT_EQ(mp3enc::copy_output(*p, out, 0), 10);
    EXPECT_EQ(out[9], 10);
    EXPECT_EQ(w.byte_pos, -1);
    EXPECT_EQ(mp3enc::copy_output(*p, out, 16), 0);

    // Pending bytes go out first on the next encode; when they do not fit nothing is taken.
    w.byte_pos = 9;
    const auto x = ramp(100);
    EXPECT_EQ(mp3enc::encode(p.get(), x.data(), nullptr, 100, out, 5), -1);
    EXPECT_EQ(p->state->samples_held, 528);
    EXPECT_EQ(mp3enc::encode(p.get(), x.data(), nullptr, 100, out, 10), 10);
    EXPECT_EQ(p->state->samples_held, 628);
}

// 44.1 kHz at 128 kbit/s: 417.96 bytes a frame, so most frames carry a padding slot, but never
// the first.
TEST(Mp3EncFrameLoop, PaddingSlots)
{
    Handle p = make(44100, 2, 128);
    ASSERT_TRUE(p);
    const auto x = ramp(1152);
    uint8_t out[2500];
    std::vector<int> padding;
    int frames = 0;
    for (int call = 0; frames < 441; ++call) {
        ASSERT_GE(mp3enc::encode(p.get(), x.data(), x.data(), 1152, out, 0), 0);
        if (p->state->primed && (1728 + 1152 * (call + 1) - p->state->samples_to_encode) / 1152 > frames) {
            ++frames;
            padding.push_back(p->state->padding);
        }
    }
    EXPECT_EQ(padding[0], 0);
    EXPECT_EQ(padding[1], 1);
    // 441 frames carry exactly 423 padding slots (42300 / 44100 of a slot each).
    EXPECT_EQ(std::count(padding.begin(), padding.end(), 1), 423);
    EXPECT_EQ(p->state->frac_slots, 42300);
}

TEST(Mp3EncFrameLoop, FlushEncodesWhatIsHeld)
{
    for (const int count : { 0, 1, 3000 }) {
        SCOPED_TRACE(count);
        Handle p = make(44100, 1, 64);
        ASSERT_TRUE(p);
        feed(p.get(), ramp(count), { 1152 });
        uint8_t out[8 * 2500];
        EXPECT_GE(mp3enc::flush(p.get(), out, sizeof out), 0);
        EXPECT_TRUE(p->state->primed);
        EXPECT_LE(p->state->samples_to_encode, 0);
    }
}

// The first frame's transform overlaps a granule that the priming pass made up: it must be the
// granule a stream of zeros before the input would have given.
TEST(Mp3EncFrameLoop, PrimingActsAsSilenceBeforeTheStream)
{
    for (const int rate : { 44100, 22050 }) {
        SCOPED_TRACE(rate);
        Handle p = make(rate, 1, rate == 44100 ? 64 : 32);
        ASSERT_TRUE(p);
        const int target = rate == 44100 ? 2014 : 1438;
        const auto x = ramp(target - 528, 100);
        feed(p.get(), x, { 1152 });
        ASSERT_TRUE(p->state->primed);

        // The same input after a frame of zeros, through a fresh filterbank.
        std::vector<int16_t> stream(p->frame_size + 528, 0);
        stream.insert(stream.end(), x.begin(), x.end());
        stream.resize(stream.size() + 1152, 0);
        auto fresh = std::make_unique<mp3enc::State>();
        fresh->out_channels = 1;
        fresh->granules = p->state->granules;
        fresh->lowpass_band = p->state->lowpass_band;
        for (int f = 0; f < 2; ++f) {
            const int16_t* const input[2] = { stream.data() + p->frame_size * f, nullptr };
            mp3enc::analyse_frame(*fresh, input);
        }
        for (int gr = 0; gr < fresh->granules; ++gr) {
            for (int i = 0; i < 576; ++i)
                ASSERT_EQ(p->state->spectrum[gr][0][i], fresh->spectrum[gr][0][i]) << gr << " " << i;
        }
    }
}

// A bound used up to the last byte is still a bound: a frame finished after the pending bytes
// filled the buffer must not be written past it (the sanitizer build traps any overrun).
TEST(Mp3EncFrameLoop, ExhaustedBoundIsNotUnbounded)
{
    Handle p = make(44100, 1, 64);
    ASSERT_TRUE(p);
    const auto x = ramp(1485);
    feed(p.get(), x, { 1152 });
    auto& w = p->state->writer;
    std::memset(w.buffer, 0x5a, 10);
    w.byte_pos = 9;
    std::vector<uint8_t> out(10);
    const int16_t last = 7;
    const int bytes = mp3enc::encode(p.get(), &last, nullptr, 1, out.data(), int(out.size()));
    EXPECT_TRUE(p->state->primed);
    EXPECT_TRUE(bytes == 10 || bytes == -1) << bytes;
}
