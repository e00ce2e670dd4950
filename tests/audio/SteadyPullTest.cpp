#include "audio/filters/EqualizerPCM.h"
#include "audio/filters/FastPlay.h"
#include "audio/filters/LevelFilter.h"
#include "audio/filters/LevelMeter.h"
#include "audio/filters/NullProcessor.h"
#include "audio/filters/StretchFilter.h"
#include "tests/audio/Signals.h"

#include <cstddef>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// The address sanitizer's runtime calls hooks on every allocation (GCC ships
// no header for them).
#if defined(__SANITIZE_ADDRESS__)
extern "C" int __sanitizer_install_malloc_and_free_hooks(
    void (*malloc_hook)(const volatile void*, std::size_t), void (*free_hook)(const volatile void*));
#define ORVANTA_COUNTS_ALLOCATIONS 1
#endif

namespace {

#ifdef ORVANTA_COUNTS_ALLOCATIONS
// Allocations made on this thread while counting is on.
thread_local bool counting = false;
thread_local std::size_t allocations = 0;

void count_malloc(const volatile void*, std::size_t)
{
    if (counting)
        ++allocations;
}

void ignore_free(const volatile void*) { }

std::size_t allocations_in(const std::function<void()>& work)
{
    static const bool installed = __sanitizer_install_malloc_and_free_hooks(count_malloc, ignore_free) != 0;
    EXPECT_TRUE(installed);
    allocations = 0;
    counting = true;
    work();
    counting = false;
    return allocations;
}
#endif

// Hands out slices of one long buffer made beforehand, as a reader would
// hand out what it read; the slices allocate nothing.
class Source : public audio::Provider<audio::PCMData> {
public:
    explicit Source(audio::PCMData all)
        : m_all(std::move(all))
    {
    }

    audio::PCMData get_data(std::int32_t frames) override
    {
        std::size_t bytes = std::size_t(frames) * std::size_t(m_all.bytes_per_frame());
        bytes = std::min(bytes, m_all.size() - std::min(m_at, m_all.size()));
        audio::PCMData chunk(liba::SharedBuffer(m_all.buffer, m_at, bytes), m_all.channels,
            m_all.bits_per_sample, m_all.sample_rate);
        m_at += bytes;
        return bytes ? chunk : audio::PCMData();
    }

private:
    audio::PCMData m_all;
    std::size_t m_at = 0;
};

// The whole play path, every filter at work, pulled as the player pulls.
struct PlayPath {
    Source source;
    audio::NullProcessor<audio::PCMData> head;
    audio::EqualizerPCM low, high;
    audio::FastPlay fast;
    audio::StretchFilter stretch;
    audio::LevelFilter levels;
    audio::LevelMeter meter;
    std::vector<audio::Provider<audio::PCMData>*> providers;

    PlayPath(audio::PCMData all, double speed, int factor)
        : source(std::move(all))
    {
        for (auto [band, hertz] : { std::pair { &low, 200.0 }, std::pair { &high, 3000.0 } }) {
            band->set_gain(6);
            band->set_frequency(hertz);
            band->set_bandwidth(1);
        }
        fast.set_speed(speed);
        stretch.set_factor(factor);
        levels.set_curve(128, 128, 128);
        providers = { &source, &head, &low, &high, &fast, &stretch, &levels };
        std::vector<audio::Consumer<audio::PCMData>*> consumers { &head, &low, &high, &fast, &stretch,
            &levels, &meter };
        for (std::size_t i = 0; i < providers.size(); ++i)
            audio::connect<audio::PCMData>(providers[i], consumers[i]);
    }

    ~PlayPath()
    {
        for (auto* provider : providers)
            audio::connect<audio::PCMData>(provider, nullptr);
    }

    void pull(int times)
    {
        for (int i = 0; i < times; ++i)
            ASSERT_FALSE(meter.get_data(8820).is_empty());
    }
};

TEST(SteadyPull, AllocatesNothingOnceUnderWay)
{
#ifndef ORVANTA_COUNTS_ALLOCATIONS
    GTEST_SKIP() << "allocations are counted through the address sanitizer";
#else
    struct Case {
        test::Format format;
        double speed;
        int factor;
    } cases[] = {
        { { 2, 16, 44100 }, 1.0, 2 },
        { { 2, 16, 44100 }, 1.5, 1 },
        { { 1, 8, 8000 }, 0.75, 3 },
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
            << c.format.channels << "x" << c.format.bits << " " << c.speed << " " << c.factor);
        // A minute of music-like sound: a warm-up long enough for every
        // buffer to have grown (the meter's history to its seconds), then the
        // pulls counted.
        test::Samples samples
            = test::golden_input(c.format.rate * 60, c.format.rate, c.format.channels, c.format.bits);
        PlayPath path(
            test::chunk_of(samples, c.format.channels, c.format.bits, c.format.rate), c.speed, c.factor);
        path.pull(60);
        EXPECT_EQ(allocations_in([&] { path.pull(40); }), 0u);
    }
#endif
}

}
