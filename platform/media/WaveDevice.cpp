#include "platform/media/WaveDevice.h"

namespace platform {

WaveDevice::WaveDevice(const WaveFormat& format, WavePost post, WaveDeviceMessage open_message,
    WaveDeviceMessage close_message, WaveBufferMessage buffer_message)
    : m_format(format)
    , m_post(std::move(post))
    , m_open_message(open_message)
    , m_close_message(close_message)
    , m_buffer_message(buffer_message)
{
}

void WaveDevice::post_open()
{
    post(m_open_message, this);
}

bool WaveDevice::prepare(WaveBuffer& buffer)
{
    std::lock_guard lock(m_lock);
    if (buffer.flags & WaveBuffer::Queued)
        return false;
    buffer.flags |= WaveBuffer::Prepared;
    return true;
}

bool WaveDevice::unprepare(WaveBuffer& buffer)
{
    std::lock_guard lock(m_lock);
    if (buffer.flags & WaveBuffer::Queued)
        return false;
    buffer.flags &= ~WaveBuffer::Prepared;
    return true;
}

bool WaveDevice::enqueue(WaveBuffer& buffer)
{
    if (m_closed || !(buffer.flags & WaveBuffer::Prepared) || (buffer.flags & WaveBuffer::Queued))
        return false;
    buffer.flags = (buffer.flags & ~WaveBuffer::Done) | WaveBuffer::Queued;
    m_queue.push_back(&buffer);
    return true;
}

void WaveDevice::hand_back_head()
{
    WaveBuffer* buffer = m_queue.front();
    m_queue.pop_front();
    buffer->flags = (buffer->flags & ~WaveBuffer::Queued) | WaveBuffer::Done;
    post(m_buffer_message, buffer);
}

bool WaveDevice::close()
{
    {
        std::lock_guard lock(m_lock);
        if (m_closed || !m_queue.empty())
            return false;
        m_closed = true;
    }
    shut_down();
    post(m_close_message, this);
    return true;
}

bool WaveDevice::is_closed() const
{
    std::lock_guard lock(m_lock);
    return m_closed;
}

size_t WaveDevice::queued() const
{
    std::lock_guard lock(m_lock);
    return m_queue.size();
}

void WaveDevice::shut_down()
{
    if (!m_transport_stopped.exchange(true))
        stop_transport();
}

}
