#include "audio/readers/FileReaderWAV.h"

#include "audio/readers/WAVInfo.h"
#include "liba/MutexLock.h"

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
    const std::uint64_t size = m_file.size();
    m_data_present = info.data_bytes_in(size);
    m_data_size_holds = info.data_size_holds(size);
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
