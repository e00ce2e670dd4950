#include "platform/media/WaveIn.h"

#include <algorithm>
#include <cstring>

namespace platform {

WaveIn::WaveIn(const WaveFormat& format, WavePost post)
    : WaveDevice(format, std::move(post), wave_in_open_message, wave_in_close_message, wave_in_data_message)
{
}

bool WaveIn::add_buffer(WaveBuffer& buffer)
{
    std::lock_guard lock(m_lock);
    if (!enqueue(buffer))
        return false;
    buffer.bytes_recorded = 0;
    return true;
}

bool WaveIn::start()
{
    {
        std::lock_guard lock(m_lock);
        if (m_closed)
            return false;
        if (m_started)
            return true;
        // Started before the transport runs, so its first bytes are kept.
        m_started = true;
    }
    if (start_transport())
        return true;
    std::lock_guard lock(m_lock);
    m_started = false;
    return false;
}

bool WaveIn::stop()
{
    {
        std::lock_guard lock(m_lock);
        if (m_closed)
            return false;
        m_started = false;
        if (!m_queue.empty() && m_queue.front()->bytes_recorded > 0)
            hand_back_head();
    }
    pause_transport();
    return true;
}

bool WaveIn::reset()
{
    {
        std::lock_guard lock(m_lock);
        if (m_closed)
            return false;
        m_started = false;
        while (!m_queue.empty())
            hand_back_head();
    }
    pause_transport();
    return true;
}

bool WaveIn::is_started() const
{
    std::lock_guard lock(m_lock);
    return m_started && !m_closed;
}

void WaveIn::capture(const uint8_t* in, size_t bytes)
{
    std::lock_guard lock(m_lock);
    if (!m_started || m_closed)
        return;
    while (bytes > 0 && !m_queue.empty()) {
        WaveBuffer* head = m_queue.front();
        size_t n = std::min<size_t>(head->length - head->bytes_recorded, bytes);
        if (n > 0)
            std::memcpy(head->data + head->bytes_recorded, in, n);
        head->bytes_recorded += static_cast<uint32_t>(n);
        in += n;
        bytes -= n;
        if (head->bytes_recorded == head->length)
            hand_back_head();
    }
}

}
