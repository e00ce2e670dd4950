#include "audio/writers/FileWriterMP3.h"

#include "audio/Id3Tag.h"
#include "audio/readers/MpegHeader.h"
#include "liba/MutexLock.h"
#include "os/File.h"

#include <algorithm>
#include <cstring>

namespace audio {

FileWriterMP3::FileWriterMP3(const std::u16string& path, bool append, Opener opener)
    : m_buffer(buffer_size)
{
    if (!opener)
        opener = open_file;
    m_file = opener(path, append ? os::File::Mode::read_write : os::File::Mode::write);
    if (!m_file || !m_file->is_ok()) {
        m_ok = false;
        return;
    }
    if (!append)
        return;
    auto size = static_cast<std::int64_t>(m_file->size());
    // New frames go before the ID3v1 trailer, which must stay last.
    std::int64_t tag = id3_find_trailer(*m_file);
    if (tag >= 3) {
        size = tag - 3;
        m_ok = m_file->seek(static_cast<std::uint64_t>(size))
            && m_file->read(m_trailer.data(), m_trailer.size()) == m_trailer.size();
        if (m_ok)
            m_trailer_offset = size;
    }
    m_ok = m_ok && m_file->seek(static_cast<std::uint64_t>(size));
    m_data_size = size;
}

FileWriterMP3::~FileWriterMP3()
{
    liba::MutexLock lock(get_lock());
    // After a failed write the file already ends as it should.
    if (ok())
        flush_buffer(true);
    m_file.reset();
}

bool FileWriterMP3::ok() const
{
    return m_ok && m_file && m_file->is_ok();
}

void FileWriterMP3::find_frames()
{
    while (m_fill - m_whole >= 4) {
        MpegHeader header;
        if (!parse_mpeg_header(m_buffer.data() + m_whole, header) || header.frame_length <= 0) {
            // No frame starts where one should: the bytes count as they came.
            m_whole = m_fill;
            m_frame_ends.push_back(m_whole);
            return;
        }
        if (m_whole + std::size_t(header.frame_length) > m_fill)
            return;
        m_whole += std::size_t(header.frame_length);
        m_frame_ends.push_back(m_whole);
        m_buffered_seconds += double(header.samples_per_frame) / header.sample_rate;
    }
}

bool FileWriterMP3::write_frames(const std::uint8_t* bytes, std::span<const std::size_t> frame_ends)
{
    std::size_t count = frame_ends.empty() ? 0 : frame_ends.back();
    std::uint64_t at = m_file->tell();
    std::size_t written = m_file->write(bytes, count);
    bool whole_write = written == count;
    if (!whole_write) {
        // Only whole frames that reached the file count, and the file ends after them.
        auto past = std::upper_bound(frame_ends.begin(), frame_ends.end(), written);
        std::size_t whole = past == frame_ends.begin() ? 0 : *(past - 1);
        m_data_size -= static_cast<std::int64_t>(count - whole);
        if (whole < written)
            m_file->truncate(at + whole);
    }
    // The trailer follows the frames on disk, so that even a killed process leaves it.
    m_ok = place_trailer() && whole_write;
    return m_ok;
}

bool FileWriterMP3::flush_buffer(bool all)
{
    m_buffered_seconds = 0;
    if (all && m_whole < m_fill) {
        m_whole = m_fill;
        m_frame_ends.push_back(m_whole);
    }
    if (m_whole == 0)
        return true;
    bool written = write_frames(m_buffer.data(), m_frame_ends);
    // A frame begun stays for the chunks that complete it; after a failed
    // write nothing more goes to the file.
    std::size_t rest = written ? m_fill - m_whole : 0;
    m_data_size -= static_cast<std::int64_t>(m_fill - m_whole - rest);
    std::memmove(m_buffer.data(), m_buffer.data() + m_whole, rest);
    m_fill = rest;
    m_whole = 0;
    m_frame_ends.clear();
    return written;
}

bool FileWriterMP3::place_trailer()
{
    if (m_trailer_offset < 0)
        return true;
    std::uint64_t end = m_file->tell();
    if (m_file->write(m_trailer.data(), m_trailer.size()) == m_trailer.size())
        return m_file->seek(end);
    // No room for it after the new frames: the disk is full, and the trailer
    // takes the place of their last bytes, so the file keeps its tag.
    auto at = static_cast<std::uint64_t>(
        std::max(std::int64_t(end) - std::int64_t(m_trailer.size()), m_trailer_offset));
    if (m_file->seek(at) && m_file->write(m_trailer.data(), m_trailer.size()) == m_trailer.size())
        m_file->truncate(at + m_trailer.size());
    m_data_size = static_cast<std::int64_t>(at);
    return false;
}

void FileWriterMP3::on_data(const MP3Data& chunk)
{
    liba::MutexLock lock(get_lock());
    if (!ok() || chunk.is_empty())
        return;
    // A reader's frame may carry the bytes that follow it; only the frame is stored.
    std::size_t size = chunk.size();
    if (chunk.frame_length > 0)
        size = std::min(size, static_cast<std::size_t>(chunk.frame_length));
    if (m_fill + size > buffer_size && !flush_buffer(true))
        return;
    m_data_size += static_cast<std::int64_t>(size);
    if (size > buffer_size) {
        const std::size_t end[] = { size };
        write_frames(chunk.bytes(), end);
        return;
    }
    // An encoder's chunks need not be whole frames: the frames are found in the bytes.
    std::memcpy(m_buffer.data() + m_fill, chunk.bytes(), size);
    m_fill += size;
    find_frames();
    if (m_buffered_seconds >= buffer_seconds)
        flush_buffer(false);
}

bool FileWriterMP3::is_ok()
{
    liba::MutexLock lock(get_lock());
    return ok();
}

std::int64_t FileWriterMP3::get_data_size()
{
    liba::MutexLock lock(get_lock());
    return m_data_size;
}

}
