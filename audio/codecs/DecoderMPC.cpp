#include "audio/codecs/DecoderMPC.h"

#include "liba/MutexLock.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace audio {

namespace {

// A pass that yields no samples (silence trimmed at the start) is followed
// by another; this bounds how many in a row one call takes.
constexpr int max_empty_passes = 16;

os::File& file_of(mpc_reader* reader)
{
    return *static_cast<os::File*>(reader->data);
}

mpc_int32_t read_file(mpc_reader* reader, void* buffer, mpc_int32_t size)
{
    if (size <= 0)
        return 0;
    return static_cast<mpc_int32_t>(file_of(reader).read(buffer, static_cast<std::size_t>(size)));
}

mpc_bool_t seek_file(mpc_reader* reader, mpc_int32_t offset)
{
    if (offset < 0)
        return MPC_FALSE;
    return file_of(reader).seek(static_cast<std::uint64_t>(offset)) ? MPC_TRUE : MPC_FALSE;
}

mpc_int32_t clamp_to_int32(std::uint64_t value)
{
    return static_cast<mpc_int32_t>(std::min<std::uint64_t>(value, std::numeric_limits<mpc_int32_t>::max()));
}

mpc_int32_t tell_file(mpc_reader* reader)
{
    return clamp_to_int32(file_of(reader).tell());
}

mpc_int32_t size_of_file(mpc_reader* reader)
{
    return clamp_to_int32(file_of(reader).size());
}

mpc_bool_t can_seek(mpc_reader*)
{
    return MPC_TRUE;
}

std::int16_t to_sample(MPC_SAMPLE_FORMAT value)
{
    float scaled = std::nearbyint(value * 32768.0f);
    if (!(scaled > -32768.0f)) // NaN too
        return scaled > 0 ? 32767 : -32768;
    return static_cast<std::int16_t>(std::min(scaled, 32767.0f));
}

}

DecoderMPC::DecoderMPC(const std::u16string& path)
    : m_file(path, os::File::Mode::read)
{
    if (!m_file.is_ok())
        return;
    m_reader = { read_file, seek_file, tell_file, size_of_file, can_seek, &m_file };
    m_demux = mpc_demux_init(&m_reader);
    if (!m_demux)
        return;
    mpc_demux_get_info(m_demux, &m_info);
    mpc_int64_t length = mpc_streaminfo_get_length_samples(&m_info);
    if (m_info.channels == 0 || m_info.channels > 2 || m_info.sample_freq == 0 || length < 0) {
        mpc_demux_exit(m_demux);
        m_demux = nullptr;
        m_info.channels = 0;
        return;
    }
    // Version 7 heads every frame with a 20-bit length, so the file's size
    // bounds its frame count. A forged count would otherwise have the
    // library walk frame by frame far past the end on a seek.
    m_file_bits = static_cast<std::int64_t>(m_file.size()) * 8;
    if (m_info.stream_version < 8)
        length = std::min<std::int64_t>(length, (m_file_bits / 20 + 1) * MPC_FRAME_LENGTH);
    m_length = length;
    m_work.resize(MPC_DECODER_BUFFER_LENGTH);
}

DecoderMPC::~DecoderMPC()
{
    liba::MutexLock lock(m_lock);
    if (m_demux)
        mpc_demux_exit(m_demux);
}

bool DecoderMPC::is_open()
{
    liba::MutexLock lock(m_lock);
    return m_demux != nullptr;
}

bool DecoderMPC::is_end()
{
    liba::MutexLock lock(m_lock);
    if (!m_demux)
        return true;
    // Done only once the last pass has been handed out too.
    return m_pending.is_empty() && (m_ended || m_position >= m_length);
}

int DecoderMPC::get_channels()
{
    return static_cast<int>(m_info.channels);
}

int DecoderMPC::get_sample_rate()
{
    return static_cast<int>(m_info.sample_freq);
}

int DecoderMPC::get_bitrate()
{
    return static_cast<int>(m_info.average_bitrate);
}

std::int64_t DecoderMPC::get_length_bytes()
{
    liba::MutexLock lock(m_lock);
    return m_length;
}

std::int64_t DecoderMPC::get_position_bytes()
{
    liba::MutexLock lock(m_lock);
    return m_position;
}

void DecoderMPC::seek_bytes(std::int64_t frames)
{
    liba::MutexLock lock(m_lock);
    if (!m_demux)
        return;
    frames = std::clamp<std::int64_t>(frames, 0, m_length);
    if (mpc_demux_seek_sample(m_demux, static_cast<mpc_uint64_t>(frames)) != MPC_STATUS_OK)
        return;
    m_position = frames;
    m_ended = false;
    // What was decoded before the seek belongs to the old place.
    m_pending = {};
}

bool DecoderMPC::decode_pass()
{
    // Past the end of the file the library would decode whatever its buffer
    // still holds, and can run off it.
    if (m_position >= m_length || static_cast<std::int64_t>(mpc_demux_pos(m_demux)) >= m_file_bits) {
        m_ended = true;
        return false;
    }
    for (int attempt = 0; attempt < max_empty_passes; ++attempt) {
        mpc_frame_info frame {};
        frame.buffer = m_work.data();
        if (mpc_demux_decode(m_demux, &frame) != MPC_STATUS_OK)
            return false;
        if (frame.bits == -1) {
            m_ended = true;
            return false;
        }
        std::size_t count = std::size_t(frame.samples) * m_info.channels;
        if (count == 0)
            continue;
        if (count > m_work.size())
            return false;
        liba::SharedBuffer bytes = m_output.take(count * 2);
        auto* out = reinterpret_cast<std::int16_t*>(OutputBuffer::bytes(bytes));
        for (std::size_t i = 0; i < count; ++i)
            out[i] = to_sample(m_work[i]);
        m_pending = PCMData(std::move(bytes), static_cast<std::int32_t>(m_info.channels), 16,
            static_cast<std::int32_t>(m_info.sample_freq));
        m_position += frame.samples;
        return true;
    }
    return false;
}

PCMData DecoderMPC::get_data(std::int32_t frames)
{
    liba::MutexLock lock(m_lock);
    if (!m_demux || frames <= 0)
        return {};
    if (m_pending.is_empty() && !decode_pass())
        return {};
    std::size_t take = std::min(std::size_t(frames) * m_info.channels * 2, m_pending.size());
    PCMData result = m_pending;
    result.buffer = liba::SharedBuffer(m_pending.buffer, 0, take);
    if (take == m_pending.size())
        m_pending = {};
    else
        m_pending.buffer = liba::SharedBuffer(m_pending.buffer, take, m_pending.size() - take);
    return result;
}

}
