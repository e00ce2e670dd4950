#include "audio/codecs/DecoderVorbis.h"

#include "liba/MutexLock.h"

#include <algorithm>
#include <cstdio>

namespace audio {

namespace {

constexpr std::int32_t max_frames_per_call = 8192;

size_t read_file(void* buffer, size_t size, size_t count, void* file)
{
    if (size == 0)
        return 0;
    return static_cast<os::File*>(file)->read(buffer, size * count) / size;
}

int seek_file(void* source, ogg_int64_t offset, int whence)
{
    auto* file = static_cast<os::File*>(source);
    std::int64_t base = 0;
    if (whence == SEEK_CUR)
        base = static_cast<std::int64_t>(file->tell());
    else if (whence == SEEK_END)
        base = static_cast<std::int64_t>(file->size());
    std::int64_t target = base + offset;
    // A failed seek must not pass for a good one: Tremor would parse
    // whatever lies at the old position.
    if (target < 0 || !file->seek(static_cast<std::uint64_t>(target)))
        return -1;
    return 0;
}

int close_file(void*)
{
    return 0; // the reader owns the file
}

long tell_file(void* file)
{
    return static_cast<long>(static_cast<os::File*>(file)->tell());
}

}

DecoderVorbis::DecoderVorbis(const std::u16string& path)
    : m_file(path, os::File::Mode::read)
{
    if (!m_file.is_ok())
        return;
    ov_callbacks callbacks { read_file, seek_file, close_file, tell_file };
    if (ov_open_callbacks(&m_file, &m_vorbis, nullptr, 0, callbacks) < 0)
        return;
    m_info = ov_info(&m_vorbis, -1);
    if (!m_info || m_info->channels <= 0 || m_info->rate <= 0) {
        ov_clear(&m_vorbis);
        m_info = nullptr;
        return;
    }
    // Tremor divides by the length in milliseconds: a stream shorter than
    // one would stop the program.
    if (ov_time_total(&m_vorbis, -1) > 0)
        m_bitrate = static_cast<int>(ov_bitrate(&m_vorbis, -1));
    else
        m_bitrate = static_cast<int>(std::max<long>(m_info->bitrate_nominal, 0));
}

DecoderVorbis::~DecoderVorbis()
{
    liba::MutexLock lock(m_lock);
    if (m_info)
        ov_clear(&m_vorbis);
}

bool DecoderVorbis::is_open()
{
    liba::MutexLock lock(m_lock);
    return m_info != nullptr;
}

bool DecoderVorbis::is_end()
{
    liba::MutexLock lock(m_lock);
    if (!m_info)
        return true;
    return m_ended || ov_pcm_tell(&m_vorbis) >= ov_pcm_total(&m_vorbis, -1);
}

int DecoderVorbis::get_channels()
{
    return m_info ? m_info->channels : 0;
}

int DecoderVorbis::get_sample_rate()
{
    return m_info ? static_cast<int>(m_info->rate) : 0;
}

int DecoderVorbis::get_bitrate()
{
    return m_bitrate;
}

std::int64_t DecoderVorbis::get_length_bytes()
{
    liba::MutexLock lock(m_lock);
    return m_info ? ov_pcm_total(&m_vorbis, -1) : 0;
}

std::int64_t DecoderVorbis::get_position_bytes()
{
    liba::MutexLock lock(m_lock);
    return m_info ? ov_pcm_tell(&m_vorbis) : 0;
}

void DecoderVorbis::seek_bytes(std::int64_t frames)
{
    liba::MutexLock lock(m_lock);
    if (!m_info)
        return;
    frames = std::clamp<std::int64_t>(frames, 0, ov_pcm_total(&m_vorbis, -1));
    if (ov_pcm_seek(&m_vorbis, frames) == 0)
        m_ended = false;
}

PCMData DecoderVorbis::get_data(std::int32_t frames)
{
    liba::MutexLock lock(m_lock);
    if (!m_info || frames <= 0)
        return {};
    std::int32_t n = std::min(frames, max_frames_per_call);
    std::size_t size = std::size_t(m_info->channels) * std::size_t(n) * 2;
    liba::SharedBuffer bytes = m_output.take(size);
    int link = 0;
    long got
        = ov_read(&m_vorbis, reinterpret_cast<char*>(OutputBuffer::bytes(bytes)), static_cast<int>(size), &link);
    if (got == 0)
        m_ended = true;
    if (got <= 0)
        return {};
    // A chained file may change its format between links.
    vorbis_info* info = ov_info(&m_vorbis, -1);
    if (!info)
        info = m_info;
    return PCMData(liba::SharedBuffer(bytes, 0, static_cast<std::size_t>(got)), info->channels, 16,
        static_cast<std::int32_t>(info->rate));
}

}
