#include "platform/media/WaveOut.h"

#include <algorithm>
#include <cstring>

namespace platform {

WaveOut::WaveOut(const WaveFormat& format, WavePost post)
    : WaveDevice(format, std::move(post), wave_out_open_message, wave_out_close_message, wave_out_done_message)
{
}

bool WaveOut::write(WaveBuffer& buffer)
{
    std::lock_guard lock(m_lock);
    return enqueue(buffer);
}

bool WaveOut::pause()
{
    std::lock_guard lock(m_lock);
    if (m_closed)
        return false;
    m_paused = true;
    return true;
}

bool WaveOut::restart()
{
    std::lock_guard lock(m_lock);
    if (m_closed)
        return false;
    m_paused = false;
    return true;
}

bool WaveOut::reset()
{
    std::lock_guard lock(m_lock);
    if (m_closed)
        return false;
    while (!m_queue.empty())
        hand_back_head();
    m_head_offset = 0;
    return true;
}

void WaveOut::set_volume(uint32_t volume)
{
    std::lock_guard lock(m_lock);
    m_volume = volume;
}

uint32_t WaveOut::volume() const
{
    std::lock_guard lock(m_lock);
    return m_volume;
}

bool WaveOut::is_paused() const
{
    std::lock_guard lock(m_lock);
    return m_paused;
}

size_t WaveOut::unplayed() const
{
    std::lock_guard lock(m_lock);
    size_t bytes = 0;
    for (const WaveBuffer* buffer : m_queue)
        bytes += buffer->length;
    return bytes - std::min(bytes, m_head_offset);
}

size_t WaveOut::render(uint8_t* out, size_t bytes)
{
    std::lock_guard lock(m_lock);
    size_t filled = 0;
    if (!m_closed && !m_paused) {
        while (!m_queue.empty()) {
            WaveBuffer* head = m_queue.front();
            size_t n = std::min<size_t>(head->length - m_head_offset, bytes - filled);
            if (n > 0)
                std::memcpy(out + filled, head->data + m_head_offset, n);
            filled += n;
            m_head_offset += n;
            if (m_head_offset < head->length)
                break;
            hand_back_head();
            m_head_offset = 0;
        }
    }
    std::memset(out + filled, format().bits_per_sample == 8 ? 0x80 : 0, bytes - filled);
    apply_volume(out, filled);
    return filled;
}

// Integer scaling: full volume leaves every sample as it was.
void WaveOut::apply_volume(uint8_t* out, size_t bytes) const
{
    if (m_volume == 0xFFFFFFFF)
        return;
    const int32_t gains[2]
        = { static_cast<int32_t>(m_volume & 0xFFFF), static_cast<int32_t>(m_volume >> 16) };
    const int channels = format().channels;
    if (format().bits_per_sample == 8) {
        for (size_t i = 0; i < bytes; ++i) {
            int32_t s = out[i] - 128;
            out[i] = static_cast<uint8_t>(s * gains[i % channels] / 0xFFFF + 128);
        }
        return;
    }
    for (size_t i = 0; i + 1 < bytes; i += 2) {
        int32_t s = static_cast<int16_t>(out[i] | (out[i + 1] << 8));
        int32_t v = s * gains[(i / 2) % channels] / 0xFFFF;
        out[i] = static_cast<uint8_t>(v & 0xFF);
        out[i + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
    }
}

}
