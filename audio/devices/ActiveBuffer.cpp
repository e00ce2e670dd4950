#include "audio/devices/ActiveBuffer.h"

#include "liba/MutexLock.h"
#include "platform/core/Memory.h"

#include <algorithm>
#include <cstdint>

namespace audio {

ActiveBuffer::ActiveBuffer()
{
    start();
}

ActiveBuffer::~ActiveBuffer()
{
    {
        // Under the lock, so the worker cannot reset the wake-up after it.
        liba::MutexLock lock(get_lock());
        request_stop();
        m_wake.set();
    }
    join();
}

void ActiveBuffer::on_data(const PCMData& chunk)
{
    liba::MutexLock lock(get_lock());
    if (!m_buffering)
        return;
    if (m_queued_bytes > max_queued_bytes || platform::available_physical_memory() < min_available_memory) {
        m_buffering = false;
        return;
    }
    m_queue.push_back(chunk);
    m_queued_bytes += static_cast<int64_t>(chunk.size());
    m_wake.set();
}

PCMData ActiveBuffer::get_data(std::int32_t)
{
    return PCMData();
}

bool ActiveBuffer::is_buffering()
{
    liba::MutexLock lock(get_lock());
    return m_buffering;
}

int ActiveBuffer::get_queued_bytes()
{
    liba::MutexLock lock(get_lock());
    return static_cast<int>(std::min<int64_t>(m_queued_bytes, INT32_MAX));
}

int ActiveBuffer::get_queued_chunks()
{
    liba::MutexLock lock(get_lock());
    return static_cast<int>(m_queue.size()) + (m_delivering ? 1 : 0);
}

void ActiveBuffer::reset()
{
    liba::MutexLock lock(get_lock());
    m_buffering = true;
    m_queue.clear();
    m_queued_bytes = m_delivering ? m_delivering_bytes : 0;
}

void ActiveBuffer::run()
{
    while (!is_stop_requested()) {
        PCMData chunk;
        bool have = false;
        {
            liba::MutexLock lock(get_lock());
            if (m_queue.empty()) {
                if (is_stop_requested())
                    return;
                m_wake.reset();
            } else {
                have = true;
                chunk = m_queue.front();
                m_queue.pop_front();
                m_delivering = true;
                m_delivering_bytes = static_cast<int64_t>(chunk.size());
            }
        }
        if (!have) {
            m_wake.wait();
            continue;
        }
        push(chunk);
        liba::MutexLock lock(get_lock());
        m_queued_bytes -= m_delivering_bytes;
        m_delivering = false;
        m_delivering_bytes = 0;
    }
}

}
