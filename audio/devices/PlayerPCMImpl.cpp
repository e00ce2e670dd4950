#include "audio/devices/PlayerPCMImpl.h"

#include "audio/devices/PlayerPCM.h"
#include "liba/MutexLock.h"
#include "liba/SharedBuffer.h"
#include "liba/Utility.h"
#include "os/Log.h"
#include "platform/core/MessageQueue.h"
#include "platform/media/WaveDriver.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace audio {

using platform::WaveBuffer;

namespace {

    constexpr platform::MessageId kick_message = platform::msg::user;

}

PlayerPCMImpl::PlayerPCMImpl(PlayerPCM& owner)
    : m_owner(owner)
{
    // Without a thread every kick fails instead of waiting for it.
    start_queue();
}

PlayerPCMImpl::~PlayerPCMImpl()
{
    request_stop();
    post(kick_message);
    join();
}

bool PlayerPCMImpl::kick()
{
    return post(kick_message);
}

bool PlayerPCMImpl::play()
{
    uint32_t request = ++m_play_requests;
    if (request == 0)
        request = ++m_play_requests;
    m_play_requested = request;
    m_pause_requested = false;
    return kick();
}

bool PlayerPCMImpl::stop()
{
    m_play_requested = 0;
    m_pause_requested = false;
    return kick();
}

bool PlayerPCMImpl::is_idle()
{
    liba::MutexLock lock(m_owner.get_lock());
    return m_state == Closed;
}

void PlayerPCMImpl::set_position_probe(PlayerPCM::PositionProbe probe)
{
    liba::MutexLock lock(m_owner.get_lock());
    m_probe = std::move(probe);
}

void PlayerPCMImpl::flush()
{
    liba::MutexLock lock(m_owner.get_lock());
    m_pending = PCMData();
    // The buffers come back as done and are filled again from upstream.
    if (m_device && m_state != Closed)
        m_device->reset();
}

void PlayerPCMImpl::restart_positions()
{
    liba::MutexLock lock(m_owner.get_lock());
    m_first_mark = 0;
    m_mark_count = 0;
    double start = m_probe ? m_probe().position : std::nan("");
    m_floor_known = !std::isnan(start);
    m_floor = { m_pulled, m_floor_known ? start : 0.0, 0.0 };
}

PCMData PlayerPCMImpl::pull()
{
    PCMData chunk = m_owner.pull(pull_frames);
    std::int32_t frames = chunk.get_frames();
    if (frames <= 0)
        return chunk;
    m_pulled += std::uint64_t(frames);
    if (!m_probe)
        return chunk;
    const PlayerPCM::StreamPoint point = m_probe();
    double position = point.position;
    if (std::isnan(position))
        return chunk;
    const double frame_seconds = chunk.sample_rate > 0 ? point.pace / chunk.sample_rate : 0.0;
    if (!m_floor_known) {
        // The first position known: the audio before it counts from there.
        m_floor = { m_pulled - std::uint64_t(frames), position - frames * frame_seconds, 0.0 };
        m_floor_known = true;
    }
    // Held audio is counted at the present speed: a change may make the
    // estimate step back, which the position never does.
    const Mark& last = m_mark_count > 0 ? m_marks[(m_first_mark + m_mark_count - 1) % mark_capacity] : m_floor;
    position = std::max(position, last.position);
    if (m_mark_count == mark_capacity) {
        m_floor = m_marks[m_first_mark];
        m_first_mark = (m_first_mark + 1) % mark_capacity;
        --m_mark_count;
    }
    m_marks[(m_first_mark + m_mark_count) % mark_capacity] = { m_pulled, position, frame_seconds };
    ++m_mark_count;
    return chunk;
}

// Before the first mark of a stream nothing of it has been pulled: the
// caller knows the position better then.
double PlayerPCMImpl::position_at(std::uint64_t frame) const
{
    if (!m_floor_known || m_mark_count == 0)
        return std::nan("");
    Mark before = m_floor;
    if (frame <= before.frames)
        return before.position;
    for (int i = 0; i < m_mark_count; ++i) {
        const Mark& mark = m_marks[(m_first_mark + i) % mark_capacity];
        if (frame <= mark.frames)
            return std::max(before.position, mark.position - double(mark.frames - frame) * mark.frame_seconds);
        before = mark;
    }
    return before.position;
}

double PlayerPCMImpl::get_heard_position()
{
    liba::MutexLock lock(m_owner.get_lock());
    std::uint64_t held = std::uint64_t(std::max(m_pending.get_frames(), 0));
    const int block_align = m_device_format.block_align();
    if (m_device && block_align > 0)
        held += m_device->unplayed() / std::uint64_t(block_align);
    return position_at(m_pulled - std::min(held, m_pulled));
}

bool PlayerPCMImpl::pause()
{
    m_pause_requested = true;
    return kick();
}

void PlayerPCMImpl::set_volume(double volume)
{
    liba::MutexLock lock(m_owner.get_lock());
    m_volume = liba::clamp(volume, 0.0, 1.0);
    // NaN passes the clamp; it must not reach the integer conversion.
    if (std::isnan(m_volume))
        m_volume = 0.0;
    apply_volume();
}

double PlayerPCMImpl::get_volume()
{
    liba::MutexLock lock(m_owner.get_lock());
    return m_volume;
}

void PlayerPCMImpl::apply_volume()
{
    if (!m_device)
        return;
    uint32_t v = static_cast<uint32_t>(m_volume * 65535);
    m_device->set_volume(v | v << 16);
}

void PlayerPCMImpl::handle(const platform::Message& message)
{
    switch (message.message) {
    case platform::msg::wave_out_open:
        on_device_opened();
        break;
    case platform::msg::wave_out_close:
        on_device_closed(platform::wave_out_close_message.payload(message));
        break;
    case platform::msg::wave_out_done:
        on_buffer_done(platform::wave_out_done_message.payload(message));
        break;
    case kick_message:
        on_kick();
        break;
    }
}

void PlayerPCMImpl::finish()
{
    liba::MutexLock lock(m_owner.get_lock());
    if (m_device) {
        m_device->reset();
        m_device->close();
        m_device.reset();
    }
}

void PlayerPCMImpl::on_kick()
{
    const uint32_t play_request = m_play_requested.load();
    if (play_request && m_state == Closed) {
        liba::MutexLock lock(m_owner.get_lock());
        if (m_pending.is_empty())
            m_pending = pull();
        if (!m_pending.is_empty()) {
            m_device_format = { m_pending.channels, m_pending.bits_per_sample, m_pending.sample_rate };
            m_state = Playing;
            open_device(play_request);
        }
    } else if (!play_request && m_state == Playing) {
        liba::MutexLock lock(m_owner.get_lock());
        m_state = Draining;
        if (m_device)
            m_device->reset();
        m_pending = PCMData();
    }

    if (m_pause_requested && !m_paused) {
        liba::MutexLock lock(m_owner.get_lock());
        if (m_device)
            m_device->pause();
        m_paused = true;
    } else if (!m_pause_requested && m_paused) {
        liba::MutexLock lock(m_owner.get_lock());
        if (m_device)
            m_device->restart();
        m_paused = false;
    }
}

// No device is a normal state of affairs here: the player goes back to
// stopped, drops what it pulled and can be asked to play again.
void PlayerPCMImpl::open_device(uint32_t play_request)
{
    if (m_device)
        return;
    m_device = platform::wave_driver().open_output(m_device_format, device_post());
    if (!m_device) {
        os::log() << "PlayerPCM: can't open the waveform output device\n";
        m_state = Closed;
        m_device_format = {};
        m_pending = PCMData();
        // Back to stopped, unless a newer play request came meanwhile.
        m_play_requested.compare_exchange_strong(play_request, 0);
        m_failed = true;
        return;
    }
    m_failed = false;
    const int block_align = m_device_format.block_align();
    const uint32_t size
        = static_cast<uint32_t>((m_device_format.sample_rate * buffer_milliseconds / 1000) * block_align);
    if (size != m_buffer_size) {
        m_buffer_size = size;
        for (auto& block : m_blocks)
            block = std::make_unique<uint8_t[]>(size);
    }
    for (int i = 0; i < buffer_count; ++i) {
        m_headers[i] = WaveBuffer {};
        m_headers[i].data = m_blocks[i].get();
    }
}

bool PlayerPCMImpl::matches_device(const PCMData& chunk) const
{
    return chunk.channels == m_device_format.channels
        && chunk.bits_per_sample == m_device_format.bits_per_sample
        && chunk.sample_rate == m_device_format.sample_rate;
}

// Returns true when every free buffer was filled completely.
bool PlayerPCMImpl::fill_device()
{
    for (WaveBuffer& header : m_headers) {
        if (header.user)
            continue;
        header.length = 0;
        uint32_t room = m_buffer_size;
        // A chunk in another format waits for the device to be reopened.
        while (room > 0 && !m_pending.is_empty() && matches_device(m_pending)) {
            uint32_t n = std::min<uint32_t>(m_pending.size(), room);
            std::memcpy(header.data + header.length, m_pending.bytes(), n);
            header.length += n;
            room -= n;
            m_pending.buffer = liba::SharedBuffer(m_pending.buffer, n, m_pending.size() - n);
            if (m_pending.is_empty())
                m_pending = pull();
        }
        if (header.length > 0) {
            header.user = 1;
            m_device->prepare(header);
            // A refused buffer would never come back; keep it free instead.
            if (!m_device->write(header)) {
                header.user = 0;
                m_device->unprepare(header);
            }
        }
        if (room > 0)
            return false;
    }
    return true;
}

void PlayerPCMImpl::on_device_opened()
{
    liba::MutexLock lock(m_owner.get_lock());
    if (!m_device)
        return;
    apply_volume();
    if (m_state == Playing && !fill_device())
        m_state = Draining;
    close_when_drained();
}

void PlayerPCMImpl::on_buffer_done(WaveBuffer* header)
{
    liba::MutexLock lock(m_owner.get_lock());
    if (header < m_headers || header >= m_headers + buffer_count || !m_device)
        return;
    header->user = 0;
    m_device->unprepare(*header);
    if (m_state == Playing && !fill_device())
        m_state = Draining;
    close_when_drained();
}

bool PlayerPCMImpl::any_busy() const
{
    return std::any_of(
        std::begin(m_headers), std::end(m_headers), [](const WaveBuffer& h) { return h.user; });
}

void PlayerPCMImpl::close_when_drained()
{
    if (m_state == Draining && !any_busy())
        m_device->close();
}

// Carries playback across a format change and ends it at the end of the data:
// the kick opens the device again when play is still requested and data waits.
void PlayerPCMImpl::on_device_closed(const platform::WaveDevice* device)
{
    {
        liba::MutexLock lock(m_owner.get_lock());
        if (!m_device || device != m_device.get())
            return;
        for (WaveBuffer& header : m_headers) {
            if (header.user) {
                header.user = 0;
                m_device->unprepare(header);
            }
        }
        m_state = Closed;
        m_device_format = {};
        m_device.reset();
    }
    post(kick_message);
}

}
