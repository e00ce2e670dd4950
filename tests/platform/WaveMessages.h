#pragma once

#include "platform/media/Wave.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace test {

// Collects what a waveform device posts, in order.
class WaveMessages {
public:
    struct Message {
        uint32_t message;
        uintptr_t wparam;
        intptr_t lparam;
        platform::WaveBuffer* buffer() const
        {
            return platform::WaveBufferMessage { message }.payload(wparam, lparam);
        }
    };

    platform::WavePost poster()
    {
        return [this](uint32_t message, uintptr_t wparam, intptr_t lparam) {
            std::lock_guard lock(m_lock);
            m_messages.push_back({ message, wparam, lparam });
            m_changed.notify_all();
        };
    }

    std::vector<Message> all() const
    {
        std::lock_guard lock(m_lock);
        return m_messages;
    }

    std::vector<uint32_t> numbers() const
    {
        std::vector<uint32_t> result;
        for (const Message& m : all())
            result.push_back(m.message);
        return result;
    }

    // Waits (with a long safety limit) until count messages of that number arrived.
    bool wait_for(uint32_t message, size_t count = 1) const
    {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, std::chrono::seconds(20), [&] {
            size_t seen = 0;
            for (const Message& m : m_messages)
                seen += m.message == message;
            return seen >= count;
        });
    }

private:
    mutable std::mutex m_lock;
    mutable std::condition_variable m_changed;
    std::vector<Message> m_messages;
};

}
