#include "platform/WaveIn.h"

#include <algorithm>
#include <cstring>

namespace platform {

WaveIn::WaveIn(const WaveFormat& format, WavePost post)
    : m_format(format)
    , m_post(std::move(post))
{
}

void WaveIn::post_open()
{
    m_post(WaveInOpen, reinterpret_cast<uintptr_t>(this), 0);
}

bool WaveIn::prepare(WaveBuffer& buffer)
{
    std::lock_guard lock(m_lock);
    if (buffer.flags & WaveBuffer::Queued)
        return false;
    buffer.flags |= WaveBuffer::Prepared;
    return true;
}

bool WaveIn::unprepare(WaveBuffer& buffer)
{
    std::lock_guard lock(m_lock);
    if (buffer.flags & WaveBuffer::Queued)
        return false;
    buffer.flags &= ~WaveBuffer::Prepared;
    return true;
}

bool WaveIn::add_buffer(WaveBuffer& buffer)
{
    std::lock_guard lock(m_lock);
    if (m_closed || !(buffer.flags & WaveBuffer::Prepared) || (buffer.flags & WaveBuffer::Queued))
        return false;
    buffer.flags = (buffer.flags & ~WaveBuffer::Done) | WaveBuffer::Queued;
    buffer.bytes_recorded = 0;
    m_queue.push_back(&buffer);
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

bool WaveIn::close()
{
    {
        std::lock_guard lock(m_lock);
        if (m_closed || !m_queue.empty())
            return false;
        m_closed = true;
        m_started = false;
    }
    shut_down();
    m_post(WaveInClose, reinterpret_cast<uintptr_t>(this), 0);
    return true;
}

void WaveIn::shut_down()
{
    if (!m_transport_stopped.exchange(true))
        stop_transport();
}

bool WaveIn::is_started() const
{
    std::lock_guard lock(m_lock);
    return m_started;
}

bool WaveIn::is_closed() const
{
    std::lock_guard lock(m_lock);
    return m_closed;
}

// Posted under the lock, so that data messages keep their order and come
// before the close message.
void WaveIn::hand_back_head()
{
    WaveBuffer* buffer = m_queue.front();
    m_queue.pop_front();
    buffer->flags = (buffer->flags & ~WaveBuffer::Queued) | WaveBuffer::Done;
    m_post(WaveInData, 0, reinterpret_cast<intptr_t>(buffer));
}

void WaveIn::capture(const uint8_t* in, size_t bytes)
{
    std::lock_guard lock(m_lock);
    if (!m_started)
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
