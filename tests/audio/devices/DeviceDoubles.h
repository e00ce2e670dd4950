#pragma once

#include "audio/Consumer.h"
#include "audio/PCMData.h"
#include "audio/Provider.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace test {

// Bytes that never form a silent frame, so played audio and silence differ.
inline std::vector<uint8_t> audio_bytes(size_t size, uint8_t seed = 1)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(1 + (seed + i * 7) % 251);
    return bytes;
}

inline audio::PCMData pcm(const std::vector<uint8_t>& bytes, int channels, int bits, int rate)
{
    return audio::PCMData(liba::SharedBuffer(bytes.size(), bytes.data()), channels, bits, rate);
}

// An upstream for the player: hands out its chunks as a reader would (at most
// the frames asked for), from whatever thread pulls; empty when it has none.
class PcmSource : public audio::Provider<audio::PCMData> {
public:
    void add(const std::vector<uint8_t>& bytes, int channels, int bits, int rate)
    {
        std::lock_guard lock(m_lock);
        m_chunks.push_back(pcm(bytes, channels, bits, rate));
    }

    audio::PCMData get_data(std::int32_t frames) override
    {
        std::lock_guard lock(m_lock);
        if (m_chunks.empty())
            return {};
        audio::PCMData& next = m_chunks.front();
        size_t take = std::min<size_t>(next.size(), static_cast<size_t>(frames) * next.bytes_per_frame());
        audio::PCMData result(
            liba::SharedBuffer(next.buffer, 0, take), next.channels, next.bits_per_sample, next.sample_rate);
        next.buffer = liba::SharedBuffer(next.buffer, take, next.size() - take);
        if (next.is_empty())
            m_chunks.pop_front();
        return result;
    }

private:
    std::mutex m_lock;
    std::deque<audio::PCMData> m_chunks;
};

// Keeps what is pushed into it, from any thread; can hold a push back until released.
class PcmSink : public audio::Consumer<audio::PCMData> {
public:
    void on_data(const audio::PCMData& chunk) override
    {
        std::unique_lock lock(m_lock);
        m_entered++;
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return !m_holding; });
        m_received.push_back(chunk);
        m_changed.notify_all();
    }

    void hold()
    {
        std::lock_guard lock(m_lock);
        m_holding = true;
    }

    void release()
    {
        std::lock_guard lock(m_lock);
        m_holding = false;
        m_changed.notify_all();
    }

    std::vector<audio::PCMData> received()
    {
        std::lock_guard lock(m_lock);
        return m_received;
    }

    std::string bytes()
    {
        std::string all;
        for (const audio::PCMData& c : received())
            all.append(reinterpret_cast<const char*>(c.bytes()), c.size());
        return all;
    }

    // Safety limits only: a broken test fails instead of hanging.
    bool wait_received(size_t count)
    {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, std::chrono::seconds(20), [&] { return m_received.size() >= count; });
    }

    bool wait_entered(size_t count)
    {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, std::chrono::seconds(20), [&] { return m_entered >= count; });
    }

    bool wait_bytes(size_t count)
    {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, std::chrono::seconds(20), [&] {
            size_t total = 0;
            for (const audio::PCMData& c : m_received)
                total += c.size();
            return total >= count;
        });
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<audio::PCMData> m_received;
    size_t m_entered = 0;
    bool m_holding = false;
};

// For state that only another thread's progress reveals.
inline bool eventually(const std::function<bool()>& condition)
{
    for (int i = 0; i < 20000; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

}
