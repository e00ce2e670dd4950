#include "audio/readers/FileReaderMP3.h"

#include "audio/readers/WAVInfo.h"
#include "liba/MutexLock.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

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

namespace {

// The longest frame: MPEG-2.5 Layer II at 160 kbit/s and 8000 Hz, padded.
constexpr std::int64_t max_frame_length = 2881;

// Whether the frame at `at` in the window is followed by two frames that
// agree with it, or by one and the end of the stream (the end of the file or
// an ID3v1 tag), `stream_end` bytes after the window's start.
bool is_followed(
    const std::vector<std::uint8_t>& window, std::size_t at, const MpegHeader& first, std::int64_t stream_end)
{
    at += std::size_t(first.frame_length);
    for (int followers = 0; followers < 2; ++followers) {
        bool tag = at + 3 <= window.size() && std::memcmp(&window[at], "TAG", 3) == 0;
        if (std::int64_t(at) + 4 > stream_end || tag)
            return followers > 0;
        MpegHeader next;
        if (at + 4 > window.size() || !parse_mpeg_header(&window[at], next) || !next.agrees_with(first))
            return false;
        at += std::size_t(next.frame_length);
    }
    return true;
}

bool has_id(const std::uint8_t* bytes, const char* id)
{
    return std::memcmp(bytes, id, std::strlen(id)) == 0;
}

}

void FileReaderMP3::open()
{
    std::int64_t start = stream_start();
    if (start < 0 || !find_stream(start)) {
        m_first = {};
        m_vbr = {};
        return;
    }
    // Reading starts at the beginning of the file; the first get_data goes
    // on to the first frame that plays.
    m_file.seek(0);
    m_read_offset = 0;
    m_fill = m_index = 0;
    m_open = true;
}

std::int64_t FileReaderMP3::stream_start()
{
    std::uint8_t head[12] {};
    if (!m_file.seek(0) || m_file.read(head, sizeof head) != sizeof head)
        return 0;
    if (has_id(head, "RIFF") && has_id(head + 8, "WAVE")) {
        // MPEG audio in a WAV file says so by its format tag.
        std::uint32_t size = 0;
        std::uint8_t tag[2] {};
        if (!m_file.seek(12) || !WAVInfo::find_chunk(m_file, "fmt ", size) || size < 2
            || m_file.read(tag, 2) != 2)
            return -1;
        std::uint16_t format = std::uint16_t(tag[0] | tag[1] << 8);
        if ((format != 0x55 && format != 0x50) || !m_file.seek(12)
            || !WAVInfo::find_chunk(m_file, "data", size))
            return -1;
        return std::int64_t(m_file.tell());
    }
    // ID3v2 tags, each ten header bytes and a size in four 7-bit bytes (ten
    // more with a footer).
    std::int64_t at = 0;
    for (std::uint8_t tag[10]; m_file.seek(std::uint64_t(at)) && m_file.read(tag, 10) == 10;) {
        bool syncsafe = (tag[6] | tag[7] | tag[8] | tag[9]) < 0x80;
        if (!has_id(tag, "ID3") || tag[3] == 0xFF || tag[4] == 0xFF || !syncsafe)
            break;
        std::int64_t size = std::int64_t(tag[6]) << 21 | tag[7] << 14 | tag[8] << 7 | tag[9];
        at += 10 + size + (tag[5] & 0x10 ? 10 : 0);
    }
    return at;
}

bool FileReaderMP3::find_stream(std::int64_t start)
{
    std::int64_t stream_end = m_length - start;
    std::int64_t wanted = std::min<std::int64_t>(search_span + 3 * max_frame_length + 4, stream_end);
    if (wanted < 4 || !m_file.seek(std::uint64_t(start)))
        return false;
    std::vector<std::uint8_t> window(static_cast<std::size_t>(wanted));
    window.resize(m_file.read(window.data(), window.size()));
    for (std::size_t at = 0; at < std::size_t(search_span) && at + 4 <= window.size(); ++at) {
        MpegHeader header;
        if (window[at] != 0xFF || !parse_mpeg_header(&window[at], header)
            || !is_followed(window, at, header, stream_end))
            continue;
        m_first = header;
        m_header_frame = m_audio_start = start + std::int64_t(at);
        // A VBR header frame holds no audio: playing starts after it.
        if (m_vbr.read(&window[at], window.size() - at, header, m_length - m_header_frame))
            m_audio_start += header.frame_length;
        return true;
    }
    return false;
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
    // Tags before the stream and a VBR header frame are never played.
    if (position() < m_audio_start) {
        m_read_offset = m_audio_start;
        m_file.seek(static_cast<std::uint64_t>(m_read_offset));
        m_fill = m_index = 0;
    }
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
        frame.buffer = m_output.take(std::size_t(size));
        std::memcpy(OutputBuffer::bytes(frame.buffer), m_buffer.data() + m_index, std::size_t(size));
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
    if (timed_by_header())
        return int(std::min(double(m_vbr.stream_bytes()) * 8 / m_vbr.duration(), double(INT32_MAX)));
    return m_first.bitrate * 1000;
}

std::int64_t FileReaderMP3::time_to_bytes(double seconds)
{
    if (timed_by_header())
        return m_header_frame + m_vbr.offset_at(seconds);
    return truncate(m_first.bitrate * seconds * 125.0);
}

double FileReaderMP3::bytes_to_time(std::int64_t bytes)
{
    if (timed_by_header())
        return m_vbr.time_at(bytes - m_header_frame);
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
