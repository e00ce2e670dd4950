#pragma once

#include "platform/core/Message.h"
#include "platform/media/sdl/SdlWaveDriver.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>

namespace test {

// Passes opens on to SDL and watches the devices' messages go by.
class WatchedDriver final : public platform::WaveDriver {
public:
    std::unique_ptr<platform::WaveOut> open_output(
        const platform::WaveFormat& format, platform::WavePost post) override
    {
        return m_sdl.open_output(format, watch(std::move(post)));
    }

    std::unique_ptr<platform::WaveIn> open_input(
        const platform::WaveFormat& format, platform::WavePost post) override
    {
        return m_sdl.open_input(format, watch(std::move(post)));
    }

    bool wait_for(uint32_t message, int count = 1)
    {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, std::chrono::seconds(30), [&] { return m_seen[message] >= count; });
    }

private:
    platform::WavePost watch(platform::WavePost post)
    {
        return [this, post = std::move(post)](uint32_t message, uintptr_t wparam, intptr_t lparam) {
            post(message, wparam, lparam);
            std::lock_guard lock(m_lock);
            m_seen[message]++;
            m_changed.notify_all();
        };
    }

    platform::sdl::SdlWaveDriver m_sdl;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::map<uint32_t, int> m_seen;
};

}
