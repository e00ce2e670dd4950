#include "audio/readers/FileReaderWAVPCM.h"

#include "liba/MutexLock.h"

#include <algorithm>

namespace audio {

namespace {

constexpr std::int64_t skip_step_frames = 5000;

}

FileReaderWAVPCM::FileReaderWAVPCM(const std::u16string& path)
    : FileReaderWAV(path)
{
    open_with(m_info);
    if (!m_open)
        return;
    // A file cut short ends at its last whole frame, not at the declared size.
    std::int64_t present = data_bytes_present();
    m_length = present < m_info.data_size ? present - present % m_info.block_align : m_info.data_size;
}

int FileReaderWAVPCM::get_bits_per_sample()
{
    liba::MutexLock lock(m_lock);
    return m_info.bits_per_sample;
}

std::int64_t FileReaderWAVPCM::time_to_bytes(double seconds)
{
    return truncate(m_info.sample_rate * seconds) * m_info.block_align;
}

double FileReaderWAVPCM::bytes_to_time(std::int64_t bytes)
{
    if (m_info.block_align == 0 || m_info.sample_rate == 0)
        return 0;
    return double(bytes) / m_info.block_align / m_info.sample_rate;
}

std::int64_t FileReaderWAVPCM::get_length_bytes()
{
    liba::MutexLock lock(m_lock);
    return m_length;
}

std::int64_t FileReaderWAVPCM::get_position_bytes()
{
    liba::MutexLock lock(m_lock);
    if (!m_open)
        return 0;
    return static_cast<std::int64_t>(m_file.tell()) - m_info.data_offset;
}

void FileReaderWAVPCM::seek_bytes(std::int64_t bytes)
{
    liba::MutexLock lock(m_lock);
    if (!m_open)
        return;
    bytes -= bytes % m_info.block_align;
    bytes = std::clamp<std::int64_t>(bytes, 0, m_length);
    m_file.seek(static_cast<std::uint64_t>(m_info.data_offset + bytes));
}

PCMData FileReaderWAVPCM::get_data(std::int32_t frames)
{
    liba::MutexLock lock(m_lock);
    if (!m_open)
        return {};
    std::int64_t wanted
        = std::min<std::int64_t>(std::int64_t(frames) * m_info.block_align, m_length - get_position_bytes());
    if (wanted <= 0)
        return {};
    auto size = static_cast<std::size_t>(wanted);
    liba::SharedBuffer bytes(size);
    if (m_file.read(bytes.make_unique(), size) != size)
        return {};
    return PCMData(std::move(bytes), m_info.channels, m_info.bits_per_sample, m_info.sample_rate);
}

bool FileReaderWAVPCM::skip(double seconds)
{
    return skip_bytes(time_to_bytes(seconds));
}

bool FileReaderWAVPCM::skip_bytes(std::int64_t bytes)
{
    if (!is_open())
        return false;
    std::int64_t frames = bytes / m_info.block_align;
    while (frames > 0) {
        PCMData chunk = get_data(static_cast<std::int32_t>(std::min(frames, skip_step_frames)));
        if (chunk.is_empty())
            return false;
        push(chunk);
        frames -= static_cast<std::int64_t>(chunk.size()) / m_info.block_align;
    }
    return true;
}

}
