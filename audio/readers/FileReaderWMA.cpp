#include "audio/readers/FileReaderWMA.h"

#include "liba/MutexLock.h"
#include "os/File.h"
#include "platform/media/MediaDecoder.h"

#include <algorithm>

namespace audio {

namespace {

constexpr std::int32_t max_frames_per_call = 8192;

}

// The file as the decoder's byte source.
class FileReaderWMA::Source final : public platform::MediaSource {
public:
    explicit Source(const std::u16string& path)
        : m_file(path, os::File::Mode::read)
    {
    }

    bool is_ok() const { return m_file.is_ok(); }
    std::size_t read(void* buffer, std::size_t count) override { return m_file.read(buffer, count); }
    bool seek(std::uint64_t position) override { return m_file.seek(position); }
    std::uint64_t tell() override { return m_file.tell(); }
    std::uint64_t size() override { return m_file.size(); }

private:
    os::File m_file;
};

FileReaderWMA::FileReaderWMA(const std::u16string& path)
    : m_source(std::make_unique<Source>(path))
{
    if (m_source->is_ok())
        m_decoder = platform::MediaDecoder::open(*m_source);
}

FileReaderWMA::~FileReaderWMA()
{
    liba::MutexLock lock(m_lock);
    m_decoder.reset();
}

bool FileReaderWMA::is_open()
{
    liba::MutexLock lock(m_lock);
    return m_decoder != nullptr;
}

bool FileReaderWMA::is_end()
{
    liba::MutexLock lock(m_lock);
    return !m_decoder || m_decoder->is_end();
}

int FileReaderWMA::get_channels()
{
    return m_decoder ? m_decoder->get_channels() : 0;
}

int FileReaderWMA::get_sample_rate()
{
    return m_decoder ? m_decoder->get_sample_rate() : 0;
}

int FileReaderWMA::get_bitrate()
{
    return m_decoder ? m_decoder->get_bitrate() : 0;
}

std::int64_t FileReaderWMA::time_to_bytes(double seconds)
{
    return truncate(seconds * 1000.0);
}

double FileReaderWMA::bytes_to_time(std::int64_t ms)
{
    return double(ms) * 0.001;
}

std::int64_t FileReaderWMA::ms_to_frames(std::int64_t ms) const
{
    // Rounded up, so that the frame's own time reads back as the same ms.
    return m_decoder ? (ms * m_decoder->get_sample_rate() + 999) / 1000 : 0;
}

std::int64_t FileReaderWMA::get_length_bytes()
{
    liba::MutexLock lock(m_lock);
    return m_decoder ? m_decoder->get_duration_ms() : 0;
}

std::int64_t FileReaderWMA::get_position_bytes()
{
    liba::MutexLock lock(m_lock);
    if (!m_decoder)
        return 0;
    std::int64_t ms = m_decoder->get_position() * 1000 / m_decoder->get_sample_rate();
    // A stream may run past its stated duration; the position stays within.
    std::int64_t length = m_decoder->get_duration_ms();
    return length > 0 ? std::min(ms, length) : ms;
}

void FileReaderWMA::seek_bytes(std::int64_t ms)
{
    liba::MutexLock lock(m_lock);
    if (!m_decoder)
        return;
    std::int64_t length = m_decoder->get_duration_ms();
    ms = std::max<std::int64_t>(ms, 0);
    if (length > 0)
        ms = std::min(ms, length);
    m_decoder->seek(ms_to_frames(ms));
}

bool FileReaderWMA::skip_bytes(std::int64_t ms)
{
    return pass_frames(ms_to_frames(std::max<std::int64_t>(ms, 0)));
}

PCMData FileReaderWMA::get_data(std::int32_t frames)
{
    liba::MutexLock lock(m_lock);
    if (!m_decoder || frames <= 0)
        return {};
    std::int32_t n = std::min(frames, max_frames_per_call);
    int channels = m_decoder->get_channels();
    liba::SharedBuffer bytes = m_output.take(std::size_t(channels) * std::size_t(n) * 2);
    std::int32_t got = m_decoder->read(reinterpret_cast<std::int16_t*>(OutputBuffer::bytes(bytes)), n);
    if (got <= 0)
        return {};
    return PCMData(liba::SharedBuffer(bytes, 0, std::size_t(got) * channels * 2), channels, 16,
        m_decoder->get_sample_rate());
}

void FileReaderWMA::set_paused(bool paused)
{
    liba::MutexLock lock(m_lock);
    m_paused = paused;
}

bool FileReaderWMA::is_paused()
{
    liba::MutexLock lock(m_lock);
    return m_paused;
}

}
