#include "mp3enc/Encoder.h"
#include "mp3enc/State.h"

#include <cstring>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

struct Result {
    std::vector<uint8_t> bytes;
    std::vector<int64_t> spectrum;
};

// A whole stream from a fresh encoder: the first frame builds the shared tables.
Result encode_stream(int rate, int channels, int kbps)
{
    Result r;
    mp3enc::Params* p = mp3enc::create(rate, channels, kbps);
    if (!p)
        return r;
    std::vector<int16_t> x(1152);
    uint8_t out[2500];
    for (int call = 0; call < 8; ++call) {
        for (int n = 0; n < 1152; ++n)
            x[n] = int16_t(((call * 1152 + n) * 7919) % 40000 - 20000);
        const int bytes = mp3enc::encode(p, x.data(), x.data(), 1152, out, sizeof out);
        if (bytes > 0)
            r.bytes.insert(r.bytes.end(), out, out + bytes);
    }
    const int bytes = mp3enc::flush(p, out, sizeof out);
    if (bytes > 0)
        r.bytes.insert(r.bytes.end(), out, out + bytes);
    const auto* lines = &p->state->spectrum[0][0][0];
    r.spectrum.assign(lines, lines + sizeof p->state->spectrum / sizeof *lines);
    mp3enc::destroy(p);
    return r;
}

}

// A recording and a conversion may encode at the same time: the process-wide tables are built once
// and shared, and encoders on different threads give what each gives alone.
TEST(Mp3EncThreads, EncodersOnSeveralThreadsMatchOneAlone)
{
    struct Case {
        int rate, channels, kbps;
    } cases[] = { { 44100, 2, 128 }, { 44100, 2, 64 }, { 8000, 1, 16 }, { 96000, 2, 128 } };

    std::vector<Result> results(std::size(cases));
    std::vector<std::thread> threads;
    for (size_t i = 0; i < std::size(cases); ++i)
        threads.emplace_back(
            [&, i] { results[i] = encode_stream(cases[i].rate, cases[i].channels, cases[i].kbps); });
    for (auto& t : threads)
        t.join();
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Result alone = encode_stream(cases[i].rate, cases[i].channels, cases[i].kbps);
        EXPECT_EQ(results[i].bytes, alone.bytes) << i;
        EXPECT_EQ(results[i].spectrum, alone.spectrum) << i;
        EXPECT_FALSE(alone.spectrum.empty());
    }
}
