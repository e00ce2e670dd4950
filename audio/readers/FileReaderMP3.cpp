#include "audio/readers/FileReaderMP3.h"

#include "liba/MutexLock.h"

#include <algorithm>
#include <cstring>

namespace audio {

FileReaderMP3::FileReaderMP3(const std::u16string& path)
    : m_file(path, os::File::Mode::read)
{
    if (!m_file.is_ok())
        return;
    m_length = static_cast<std::int64_t>(m_file.size());
    if (m_length > 0)
        open();
}

// A stream starts where a frame is followed, right after its end, by a frame
// that agrees with it. A false sync in a leading tag fails that test and the
// search goes on past it.
void FileReaderMP3::open()
{
    for (;;) {
        while (!find_frame(m_first)) {
            refill();
            if (exhausted()) {
                m_first = {};
                return;
            }
        }
        refill(std::max(block_size, m_first.frame_length + 4));
        m_index += m_first.frame_length;
        MpegHeader next;
        if (m_index < m_fill - 4 && parse_mpeg_header(&m_buffer[m_index], next) && next.agrees_with(m_first))
            break;
        if (at_end()) {
            m_first = {};
            return;
        }
    }
    m_open = !at_end();
    // The first get_data finds the first frame again.
    m_index = 0;
}

void FileReaderMP3::refill(std::int32_t wanted)
{
    if (m_index <= m_fill - wanted)
        return;
    std::int32_t kept = std::max(m_fill - m_index, 0);
    if (kept > 0)
        std::memmove(m_buffer.data(), m_buffer.data() + m_index, std::size_t(kept));
    auto read
        = static_cast<std::int32_t>(m_file.read(m_buffer.data() + kept, std::size_t(buffer_size - kept)));
    m_fill = kept + read;
    m_index = 0;
    m_read_offset += read;
}

bool FileReaderMP3::find_frame(MpegHeader& header)
{
    for (; m_index < m_fill - 4; ++m_index) {
        if (m_buffer[m_index] == 0xFF && parse_mpeg_header(&m_buffer[m_index], header))
            return true;
    }
    m_index = m_fill;
    return false;
}

MP3Data FileReaderMP3::get_data(std::int32_t)
{
    liba::MutexLock lock(m_lock);
    if (!m_open)
        return {};
    // A damaged stretch is stepped over however long it is: giving up with an
    // empty block would end playback in the middle of the file.
    for (;;) {
        if (at_end())
            return {};
        refill();
        if (m_fill - m_index <= 4) {
            m_index = m_fill; // the file ends in a few stray bytes, or no longer reads
            return {};
        }
        MpegHeader header;
        if (!find_frame(header))
            continue;
        if (!header.agrees_with(m_first)) {
            ++m_index;
            continue;
        }
        // Frames longer than a block (MPEG-2.5 Layer II) need more than refill keeps.
        refill(std::max(block_size, header.frame_length));
        if (header.frame_length > m_fill - m_index) {
            m_index = m_fill; // cut short by the end of the file
            continue;
        }
        // The slice runs past the frame where the buffer allows; the last
        // frame of a file ends the slice.
        std::int32_t size = std::min(m_fill - m_index, std::max(block_size, header.frame_length));
        MP3Data frame;
        frame.buffer = liba::SharedBuffer(std::size_t(size), m_buffer.data() + m_index);
        frame.frame_length = header.frame_length;
        m_index += header.frame_length;
        return frame;
    }
}

bool FileReaderMP3::is_open()
{
    liba::MutexLock lock(m_lock);
    return m_open;
}

bool FileReaderMP3::is_end()
{
    liba::MutexLock lock(m_lock);
    return !m_open || at_end();
}

int FileReaderMP3::get_channels()
{
    return m_first.channels;
}

int FileReaderMP3::get_bits_per_sample()
{
    return 16;
}

int FileReaderMP3::get_sample_rate()
{
    return m_first.sample_rate;
}

int FileReaderMP3::get_bitrate()
{
    return m_first.bitrate * 1000;
}

std::int64_t FileReaderMP3::time_to_bytes(double seconds)
{
    return truncate(m_first.bitrate * seconds * 125.0);
}

double FileReaderMP3::bytes_to_time(std::int64_t bytes)
{
    if (m_first.bitrate == 0)
        return 0;
    return double(bytes) * 8 / m_first.bitrate * 0.001;
}

std::int64_t FileReaderMP3::get_length_bytes()
{
    liba::MutexLock lock(m_lock);
    return m_length;
}

std::int64_t FileReaderMP3::get_position_bytes()
{
    liba::MutexLock lock(m_lock);
    return position();
}

void FileReaderMP3::seek_bytes(std::int64_t bytes)
{
    liba::MutexLock lock(m_lock);
    m_read_offset = std::clamp<std::int64_t>(bytes, 0, m_length);
    m_file.seek(static_cast<std::uint64_t>(m_read_offset));
    m_fill = 0;
    m_index = 0;
}

bool FileReaderMP3::skip(double seconds)
{
    double start = get_position();
    return push_frames_while([&] { return get_position() - start < seconds; });
}

bool FileReaderMP3::skip_bytes(std::int64_t bytes)
{
    std::int64_t start = get_position_bytes();
    return push_frames_while([&] { return get_position_bytes() - start < bytes; });
}

bool FileReaderMP3::push_frames_while(const std::function<bool()>& short_of_span)
{
    while (short_of_span()) {
        MP3Data frame = get_data(1);
        if (frame.is_empty())
            return false;
        push(frame);
    }
    return true;
}

}
