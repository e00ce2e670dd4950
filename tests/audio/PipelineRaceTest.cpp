#include "audio/Processor.h"
#include "tests/audio/PipelineDoubles.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using audio::PCMData;

namespace {

constexpr int rounds = 2000;

// Counts chunks in a plain field that the test also reads under the
// consumer's lock: a chunk delivered without that lock is a data race.
class GuardedSink : public audio::Consumer<PCMData> {
public:
    std::atomic<bool> closed { true };
    std::atomic<int> late { 0 };
    int received = 0;

    void on_data(const PCMData& data) override
    {
        if (closed.load())
            ++late;
        if (data.size() == 4)
            ++received;
    }

    int count()
    {
        liba::MutexLock lock(get_lock());
        return received;
    }
};

class PassThrough : public audio::Processor<PCMData, PCMData> {
public:
    PCMData process(const PCMData& input) override { return input; }
};

class Endless : public audio::Provider<PCMData> {
public:
    PCMData get_data(std::int32_t) override { return test::counting_pcm(4); }
};

}

TEST(PipelineRace, PushRacingDisconnectArrivesWholeOrNotAtAll)
{
    test::ScriptedProvider<PCMData> source;
    GuardedSink sink;
    std::atomic<bool> done { false };
    std::atomic<int> pushed { 0 };
    std::thread pusher([&] {
        PCMData chunk = test::counting_pcm(4);
        while (!done.load()) {
            source.push(chunk);
            ++pushed;
        }
    });
    for (int i = 0; i < rounds; ++i) {
        sink.closed = false;
        audio::connect(&source, &sink);
        std::this_thread::yield();
        audio::connect(&source, nullptr);
        sink.closed = true; // nothing may enter after the disconnect returned
        sink.count();
    }
    done = true;
    pusher.join();
    EXPECT_EQ(sink.late.load(), 0);
    EXPECT_LE(sink.count(), pushed.load());
}

TEST(PipelineRace, RelinkWhilePullingThroughAProcessor)
{
    Endless a, b;
    PassThrough middle;
    std::atomic<bool> done { false };
    std::atomic<int> wrong { 0 };
    audio::connect(&a, &middle);
    std::thread puller([&] {
        while (!done.load()) {
            PCMData chunk = middle.get_data(1);
            if (!chunk.is_empty() && chunk.size() != 4)
                ++wrong;
        }
    });
    for (int i = 0; i < rounds; ++i) {
        audio::connect(i % 2 ? &a : &b, &middle);
        audio::connect(i % 2 ? &b : &a, nullptr);
    }
    done = true;
    puller.join();
    EXPECT_EQ(wrong.load(), 0);
}
