#include "audio/devices/RecorderPCMImpl.h"

#include "audio/devices/RecorderPCM.h"
#include "liba/MutexLock.h"
#include "liba/SharedBuffer.h"
#include "platform/core/MessageQueue.h"
#include "platform/media/WaveDriver.h"

#include <algorithm>
#include <cstdint>

namespace audio {

using platform::WaveBuffer;

RecorderPCMImpl::RecorderPCMImpl(int channels, int sample_rate, int bits_per_sample, RecorderPCM& provider)
    : m_provider(provider)
    , m_channels(channels)
    , m_sample_rate(sample_rate)
    , m_bits_per_sample(bits_per_sample)
{
    // Nothing the device posts may be lost for want of a queue.
    if (!start_queue())
        return;
    liba::MutexLock lock(m_lock);
    platform::WaveFormat format { channels, bits_per_sample, sample_rate };
    m_device = platform::wave_driver().open_input(format, device_post());
    if (!m_device)
        return;
    m_buffer_size = static_cast<uint32_t>(block_align() * frames_per_buffer);
    for (int i = 0; i < buffer_count; ++i) {
        m_blocks[i] = std::make_unique<uint8_t[]>(m_buffer_size);
        WaveBuffer& header = m_headers[i];
        header.data = m_blocks[i].get();
        header.length = m_buffer_size;
        m_device->prepare(header);
        m_device->add_buffer(header);
    }
}

RecorderPCMImpl::~RecorderPCMImpl()
{
    {
        liba::MutexLock lock(m_lock);
        m_closing = true;
        if (m_device) {
            // Every queued buffer comes back as data and is still pushed.
            m_device->reset();
            m_device->close();
        }
    }
    post(platform::msg::quit);
    join();
    m_device.reset();
}

bool RecorderPCMImpl::start()
{
    liba::MutexLock lock(m_lock);
    if (!m_device)
        return false;
    bool ok = m_device->start();
    m_stopped = !ok;
    return ok;
}

bool RecorderPCMImpl::stop()
{
    liba::MutexLock lock(m_lock);
    if (m_stopped)
        return true;
    m_stopped = m_device && m_device->stop();
    return m_stopped;
}

bool RecorderPCMImpl::is_stopped()
{
    liba::MutexLock lock(m_lock);
    return m_stopped;
}

bool RecorderPCMImpl::is_recording()
{
    liba::MutexLock lock(m_lock);
    return m_device && m_in_flight;
}

int RecorderPCMImpl::get_channels()
{
    liba::MutexLock lock(m_lock);
    return m_channels;
}

int RecorderPCMImpl::get_bits_per_sample()
{
    liba::MutexLock lock(m_lock);
    return m_bits_per_sample;
}

int RecorderPCMImpl::get_sample_rate()
{
    liba::MutexLock lock(m_lock);
    return m_sample_rate;
}

int RecorderPCMImpl::get_bitrate()
{
    liba::MutexLock lock(m_lock);
    // Wide enough for any arguments: only the device checks them.
    double bits = static_cast<double>(block_align()) * m_sample_rate * 8;
    return static_cast<int>(std::clamp<double>(bits, INT32_MIN, INT32_MAX));
}

void RecorderPCMImpl::handle(const platform::Message& message)
{
    switch (message.message) {
    case platform::msg::wave_in_open: {
        liba::MutexLock lock(m_lock);
        break;
    }
    case platform::msg::wave_in_close: {
        liba::MutexLock lock(m_lock);
        m_device.reset();
        m_stopped = true;
        break;
    }
    case platform::msg::wave_in_data:
        buffer_full(platform::wave_in_data_message.payload(message));
        break;
    }
}

bool RecorderPCMImpl::is_ours(const WaveBuffer* header) const
{
    return header >= m_headers && header < m_headers + buffer_count;
}

void RecorderPCMImpl::buffer_full(WaveBuffer* header)
{
    liba::MutexLock lock(m_lock);
    if (!is_ours(header))
        return;
    if (m_device)
        m_device->unprepare(*header);
    // Empty buffers are pushed too: the tail of a reset may be one.
    PCMData chunk(liba::SharedBuffer(header->bytes_recorded, header->data), m_channels, m_bits_per_sample,
        m_sample_rate);
    m_provider.push(chunk);

    // The device, not the headers, knows which buffers it still holds: their
    // flags change under its lock on its own thread.
    m_in_flight = m_device && m_device->queued() > 0;
    if (!m_in_flight)
        return; // capture has run dry: every buffer is back
    header->bytes_recorded = 0;
    header->user = 0;
    header->flags = 0;
    if (!m_closing && m_device) {
        m_device->prepare(*header);
        m_device->add_buffer(*header);
    }
}

}
