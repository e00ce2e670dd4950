#include "skinner/graphics/Inflater.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

class Collect final : public skinner::InflateSink {
public:
    explicit Collect(std::size_t stop_after = SIZE_MAX)
        : m_stop_after(stop_after)
    {
    }

    bool write(const std::uint8_t* bytes, std::size_t count) override
    {
        data.insert(data.end(), bytes, bytes + count);
        return data.size() < m_stop_after;
    }

    std::vector<std::uint8_t> data;

private:
    std::size_t m_stop_after;
};

// Text-like runs, near and far repeats, and noise: literals, short and long
// matches, overlapping ones, and distances up to the whole window.
std::vector<std::uint8_t> sample_data(std::size_t size)
{
    std::vector<std::uint8_t> data;
    std::uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u; };
    while (data.size() < size) {
        const std::uint32_t pick = next() >> 16;
        if (pick % 4 == 0 || data.size() < 40000) {
            for (int i = 0; i < 200; ++i)
                data.push_back(static_cast<std::uint8_t>(next() >> 24));
        } else if (pick % 4 == 1) {
            data.insert(data.end(), 50 + pick % 300, static_cast<std::uint8_t>(pick));
        } else {
            const std::size_t distance = 1 + (next() >> 8) % std::min<std::size_t>(data.size(), 32768);
            const std::size_t length = 3 + (next() >> 8) % 400;
            for (std::size_t i = 0; i < length; ++i)
                data.push_back(data[data.size() - distance]);
        }
    }
    data.resize(size);
    return data;
}

std::vector<std::uint8_t> compress(const std::vector<std::uint8_t>& data, int level, int strategy)
{
    z_stream z {};
    deflateInit2(&z, level, Z_DEFLATED, 15, 8, strategy);
    std::vector<std::uint8_t> out(deflateBound(&z, data.size()));
    z.next_in = const_cast<std::uint8_t*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

TEST(Inflater, InflatesWhatZlibDeflates)
{
    const std::vector<std::uint8_t> data = sample_data(300000);
    const struct {
        const char* name;
        int level;
        int strategy;
    } cases[] = {
        { "stored blocks", 0, Z_DEFAULT_STRATEGY },
        { "fastest", 1, Z_DEFAULT_STRATEGY },
        { "best", 9, Z_DEFAULT_STRATEGY },
        { "fixed codes", 6, Z_FIXED },
        { "runs only", 6, Z_RLE },
    };
    for (const auto& c : cases) {
        Collect sink;
        EXPECT_EQ(skinner::Inflater().inflate(compress(data, c.level, c.strategy), sink),
            skinner::InflateResult::finished)
            << c.name;
        EXPECT_TRUE(sink.data == data) << c.name;
    }
}

TEST(Inflater, CutShortStreamGivesWhatCameBeforeTheCut)
{
    const std::vector<std::uint8_t> data = sample_data(150000);
    for (int level : { 0, 9 }) {
        std::vector<std::uint8_t> zlib = compress(data, level, Z_DEFAULT_STRATEGY);
        zlib.resize(zlib.size() / 2);
        Collect sink;
        EXPECT_EQ(skinner::Inflater().inflate(zlib, sink), skinner::InflateResult::truncated) << level;
        ASSERT_LE(sink.data.size(), data.size());
        EXPECT_GT(sink.data.size(), 0u);
        EXPECT_TRUE(std::equal(sink.data.begin(), sink.data.end(), data.begin())) << level;
    }
}

TEST(Inflater, SinkThatStopsEndsTheInflating)
{
    const std::vector<std::uint8_t> data = sample_data(200000);
    Collect sink(1000);
    EXPECT_EQ(skinner::Inflater().inflate(compress(data, 6, Z_DEFAULT_STRATEGY), sink),
        skinner::InflateResult::stopped);
    EXPECT_LT(sink.data.size(), data.size());
    EXPECT_TRUE(std::equal(sink.data.begin(), sink.data.end(), data.begin()));
}

TEST(Inflater, MatchBeforeTheStartIsCorrupt)
{
    // Fixed codes: literal 'a', then length 3 at distance 2, with one byte out.
    // 0x78 0x9c header; block bits: final 1, type 01; 'a' = 0x91 as 8 bits;
    // length 3 = symbol 257 (7 bits 0000001); distance code 1 (5 bits 00001) is 2.
    std::vector<std::uint8_t> zlib = { 0x78, 0x9c };
    std::uint32_t bits = 0;
    int count = 0;
    auto put = [&](std::uint32_t value, int n, bool reversed) {
        for (int i = 0; i < n; ++i) {
            const int bit = reversed ? (value >> (n - 1 - i)) & 1 : (value >> i) & 1;
            bits |= std::uint32_t(bit) << count++;
            if (count == 8) {
                zlib.push_back(static_cast<std::uint8_t>(bits));
                bits = 0;
                count = 0;
            }
        }
    };
    put(1, 1, false);
    put(1, 2, false);
    put(0x30 + 'a', 8, true);
    put(1, 7, true);
    put(1, 5, true);
    put(0, 7, true); // end of block
    zlib.push_back(static_cast<std::uint8_t>(bits));
    Collect sink;
    EXPECT_EQ(skinner::Inflater().inflate(zlib, sink), skinner::InflateResult::corrupt);
    EXPECT_EQ(std::string(sink.data.begin(), sink.data.end()), "a");
}

}
