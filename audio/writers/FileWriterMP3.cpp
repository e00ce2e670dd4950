#include "audio/writers/FileWriterMP3.h"

#include "audio/Id3Tag.h"
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
    if (m_file && m_file->is_ok()) {
        if (m_ok)
            flush_buffer();
        write_trailer();
    }
    m_file.reset();
}

bool FileWriterMP3::ok() const
{
    return m_ok && m_file && m_file->is_ok();
}

bool FileWriterMP3::write(const std::uint8_t* bytes, std::size_t count)
{
    std::size_t written = m_file->write(bytes, count);
    // Only what reached the file counts.
    m_data_size -= static_cast<std::int64_t>(count - written);
    m_ok = written == count;
    return m_ok;
}

bool FileWriterMP3::flush_buffer()
{
    std::size_t fill = m_fill;
    m_fill = 0;
    return fill == 0 || write(m_buffer.data(), fill);
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
    m_data_size += static_cast<std::int64_t>(size);
    if (m_fill + size > buffer_size && !flush_buffer()) {
        m_data_size -= static_cast<std::int64_t>(size);
        return;
    }
    if (size > buffer_size) {
        write(chunk.bytes(), size);
        return;
    }
    std::memcpy(m_buffer.data() + m_fill, chunk.bytes(), size);
    m_fill += size;
}

void FileWriterMP3::write_trailer()
{
    if (m_trailer_offset < 0)
        return;
    auto end = static_cast<std::int64_t>(m_file->tell());
    if (m_file->write(m_trailer.data(), m_trailer.size()) == m_trailer.size())
        return;
    // No room for it after the new frames: the trailer takes the place of
    // their last bytes, so the file keeps its tag and its size.
    auto at = static_cast<std::uint64_t>(std::max(end - std::int64_t(m_trailer.size()), m_trailer_offset));
    if (m_file->seek(at) && m_file->write(m_trailer.data(), m_trailer.size()) == m_trailer.size())
        m_file->truncate(at + m_trailer.size());
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
