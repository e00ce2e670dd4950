#include "audio/readers/FileReaderWAV.h"

#include "audio/readers/WAVInfo.h"
#include "liba/MutexLock.h"

#include <algorithm>

namespace audio {

FileReaderWAV::FileReaderWAV(const std::u16string& path)
    : m_file(path, os::File::Mode::read)
{
}

void FileReaderWAV::open_with(WAVInfo& info)
{
    m_open = info.read(m_file);
    if (!m_open)
        return;
    auto in_file = static_cast<std::int64_t>(m_file.size()) - info.data_offset;
    m_data_present = std::clamp<std::int64_t>(in_file, 0, info.data_size);
}

bool FileReaderWAV::is_open()
{
    liba::MutexLock lock(m_lock);
    return m_open;
}

bool FileReaderWAV::is_end()
{
    liba::MutexLock lock(m_lock);
    return !is_open() || get_position_bytes() >= get_length_bytes();
}

int FileReaderWAV::get_channels()
{
    liba::MutexLock lock(m_lock);
    return get_wav_info().channels;
}

int FileReaderWAV::get_sample_rate()
{
    liba::MutexLock lock(m_lock);
    return get_wav_info().sample_rate;
}

int FileReaderWAV::get_bitrate()
{
    liba::MutexLock lock(m_lock);
    return static_cast<int>(get_wav_info().avg_bytes_per_sec * 8);
}

}
