#include "audio/devices/ActiveBuffer.h"

#include "platform/core/Memory.h"
#include "tests/audio/devices/DeviceDoubles.h"

#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace {

std::atomic<uint64_t> free_memory = 1ull << 32;

uint64_t probe()
{
    return free_memory.load();
}

// The buffer between a feeder that pushes as the recorder does and a sink.
struct Rig {
    struct Feeder : audio::Provider<audio::PCMData> {
        audio::PCMData get_data(std::int32_t) override { return {}; }
    };

    Rig()
    {
        free_memory = 1ull << 32;
        platform::set_memory_probe(&probe);
        buffer = std::make_unique<audio::ActiveBuffer>();
        audio::connect<audio::PCMData>(&feeder, buffer.get());
        audio::connect<audio::PCMData>(buffer.get(), &sink);
    }

    ~Rig()
    {
        audio::connect<audio::PCMData>(&feeder, nullptr);
        if (buffer) {
            audio::connect<audio::PCMData>(buffer.get(), nullptr);
            buffer.reset();
        }
        platform::set_memory_probe(nullptr);
    }

    void push(size_t size, uint8_t seed = 1)
    {
        feeder.push(test::pcm(test::audio_bytes(size, seed), 1, 16, 8000));
    }

    test::PcmSink sink;
    Feeder feeder;
    std::unique_ptr<audio::ActiveBuffer> buffer;
};

}

TEST(ActiveBuffer, AcceptsUpToTenMillionQueuedBytesThenDropsUntilReset)
{
    Rig rig;
    rig.sink.hold();
    rig.push(1, 1);
    ASSERT_TRUE(rig.sink.wait_entered(1)); // in delivery, and still counted
    EXPECT_EQ(rig.buffer->get_queued_chunks(), 1);

    rig.push(9999999, 2); // 1 queued: accepted, now exactly 10,000,000
    EXPECT_EQ(rig.buffer->get_queued_bytes(), 10000000);
    rig.push(1, 3); // 10,000,000 queued: still accepted
    EXPECT_EQ(rig.buffer->get_queued_bytes(), 10000001);
    EXPECT_TRUE(rig.buffer->is_buffering());
    rig.push(1, 4); // 10,000,001 queued: refused, buffering off
    EXPECT_FALSE(rig.buffer->is_buffering());
    EXPECT_EQ(rig.buffer->get_queued_chunks(), 3);

    rig.sink.release();
    ASSERT_TRUE(rig.sink.wait_received(3));
    EXPECT_TRUE(test::eventually([&] { return rig.buffer->get_queued_chunks() == 0; }));
    EXPECT_EQ(rig.buffer->get_queued_bytes(), 0);

    rig.push(5, 5); // drained, but still off
    EXPECT_EQ(rig.buffer->get_queued_chunks(), 0);
    rig.buffer->reset();
    EXPECT_TRUE(rig.buffer->is_buffering());
    rig.push(5, 6);
    ASSERT_TRUE(rig.sink.wait_received(4));
    auto chunks = rig.sink.received();
    ASSERT_EQ(chunks.size(), 4u);
    EXPECT_EQ(chunks[1].size(), 9999999u);
    EXPECT_EQ(chunks[2].size(), 1u);
    std::vector<uint8_t> last(chunks[3].bytes(), chunks[3].bytes() + chunks[3].size());
    EXPECT_EQ(last, test::audio_bytes(5, 6));
}

TEST(ActiveBuffer, LowMemoryTurnsBufferingOffEvenWithAnEmptyQueue)
{
    Rig rig;
    free_memory = 1000000;
    rig.push(10);
    ASSERT_TRUE(rig.sink.wait_received(1));
    free_memory = 999999;
    rig.push(10);
    EXPECT_FALSE(rig.buffer->is_buffering());
    free_memory = 1ull << 32;
    rig.push(10);
    EXPECT_EQ(rig.sink.received().size(), 1u);
}

TEST(ActiveBuffer, NoWakeUpIsLost)
{
    // Each chunk arrives alone, often just as the worker finds the queue empty.
    Rig rig;
    for (size_t i = 1; i <= 2000; ++i) {
        rig.push(2, static_cast<uint8_t>(i));
        ASSERT_TRUE(rig.sink.wait_received(i)) << "chunk " << i << " never delivered";
    }
}

TEST(ActiveBuffer, DestroyedWithChunksQueuedItFinishesTheOneInDeliveryAndDropsTheRest)
{
    Rig rig;
    rig.sink.hold();
    rig.push(4, 1);
    ASSERT_TRUE(rig.sink.wait_entered(1));
    for (int i = 0; i < 5; ++i)
        rig.push(4, 2);
    audio::connect<audio::PCMData>(&rig.feeder, nullptr);

    audio::ActiveBuffer* buffer = rig.buffer.get();
    std::thread destroyer([&] { rig.buffer.reset(); });
    ASSERT_TRUE(test::eventually([&] { return buffer->is_stop_requested(); }));
    rig.sink.release();
    destroyer.join();
    EXPECT_EQ(rig.sink.received().size(), 1u);
}

TEST(ActiveBuffer, IsOnlyPushedThrough)
{
    Rig rig;
    EXPECT_TRUE(rig.buffer->get_data(100).is_empty());
}
