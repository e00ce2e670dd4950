#include "audio/writers/FileWriterWAV.h"

#include "audio/ADPCMData.h"
#include "audio/GSMData.h"
#include "audio/PCMData.h"
#include "audio/readers/WAVInfoADPCM.h"
#include "audio/readers/WAVInfoGSM.h"
#include "audio/readers/WAVInfoPCM.h"
#include "liba/MutexLock.h"
#include "os/File.h"

#include <algorithm>
#include <limits>

namespace audio {

namespace {

// RIFF sizes are 32-bit: "RIFF" and its size field stand outside the count.
constexpr std::uint64_t max_riff_size = std::numeric_limits<std::uint32_t>::max();

bool write_u32_at(os::File& file, std::int64_t offset, std::uint32_t value)
{
    std::uint8_t b[4] = { std::uint8_t(value), std::uint8_t(value >> 8), std::uint8_t(value >> 16),
        std::uint8_t(value >> 24) };
    return offset >= 0 && file.seek(static_cast<std::uint64_t>(offset)) && file.write(b, 4) == 4;
}

template<typename Info>
constexpr bool has_fact = requires(Info info) { info.fact_samples; };

// Whether the bytes from `end` to the end of the file are audio a recording
// left past its header's last update, rather than nothing, RIFF's pad byte
// or a chunk of another writer (four printable characters and a size that
// fits the file).
bool audio_follows(os::File& file, std::uint64_t end, bool odd, std::uint64_t file_size)
{
    if (end >= file_size || (odd && end + 1 == file_size))
        return false;
    for (std::uint64_t at : { end, end + 1 }) {
        std::uint8_t b[8];
        if (at + 8 > file_size || !file.seek(at) || file.read(b, 8) != 8)
            continue;
        bool id = std::all_of(b, b + 4, [](std::uint8_t c) { return c >= 0x20 && c <= 0x7E; });
        std::uint64_t size
            = b[4] | std::uint64_t(b[5]) << 8 | std::uint64_t(b[6]) << 16 | std::uint64_t(b[7]) << 24;
        if (id && at + 8 + size <= file_size)
            return false;
        if (!odd)
            break;
    }
    return true;
}

}

template<typename Info, typename Data>
FileWriterWAV<Info, Data>::FileWriterWAV(
    const std::u16string& path, bool append, const Info& new_format, Opener opener)
    : m_format(new_format)
    , m_path(path)
    , m_opener(opener ? std::move(opener) : Opener(open_file))
{
    if (append)
        m_ok = open_for_append();
}

template<typename Info, typename Data>
FileWriterWAV<Info, Data>::~FileWriterWAV()
{
    liba::MutexLock lock(this->get_lock());
    close();
}

template<typename Info, typename Data>
bool FileWriterWAV<Info, Data>::open_for_append()
{
    m_file = m_opener(m_path, os::File::Mode::read_write);
    if (!m_file || !m_format.read(*m_file) || !m_file->is_ok()) {
        // Not a file of this coding: leave it exactly as it is.
        m_file.reset();
        return false;
    }
    // Continue after the audio the file really holds, in whole units: a
    // header that promises more would leave a gap counted as audio, and one
    // that a killed recording left behind promises less.
    std::int64_t unit = m_format.block_align;
    std::uint64_t file_size = m_file->size();
    std::int64_t present = m_format.data_bytes_in(file_size);
    const std::uint32_t declared = m_format.data_size;
    const bool odd = declared % 2 == 1;
    if (m_format.data_size_holds(file_size)
        && audio_follows(*m_file, std::uint64_t(m_format.data_offset) + declared, odd, file_size))
        present = static_cast<std::int64_t>(file_size) - m_format.data_offset;
    present = std::min<std::int64_t>(present, std::int64_t(max_riff_size) + 8 - m_format.data_offset);
    present -= present % unit;
    m_format.data_size = static_cast<std::uint32_t>(present);
    m_units = present / unit;
    m_declared_units = present == declared ? m_units : stale_header;
    if constexpr (has_fact<Info>) {
        std::uint32_t size = 0;
        if (m_file->seek(12) && WAVInfo::find_chunk(*m_file, "fact", size))
            m_fact_offset = static_cast<std::int64_t>(m_file->tell());
        // New blocks follow the old ones whole, so a last block that was
        // only partly used now plays whole too.
        auto samples = std::uint64_t(m_units) * m_format.samples_per_block;
        m_format.fact_samples = static_cast<std::uint32_t>(std::min<std::uint64_t>(samples, UINT32_MAX));
    }
    return m_file->seek(static_cast<std::uint64_t>(m_format.data_offset + present)) && m_file->is_ok();
}

template<typename Info, typename Data>
Data FileWriterWAV<Info, Data>::process(const Data& chunk)
{
    liba::MutexLock lock(this->get_lock());
    if (!m_ok || chunk.is_empty())
        return chunk;
    if (!m_file) {
        if (!set_format(chunk))
            return chunk;
        m_file = m_opener(m_path, os::File::Mode::write);
        m_ok = m_file && m_format.write(*m_file);
        // A new header ends with "fact" (when its coding has one) and "data".
        if constexpr (has_fact<Info>)
            m_fact_offset = m_format.data_offset - 12;
    }
    if (m_ok) {
        m_ok = write_chunk(chunk);
        // After a failed write at once, so that the header counts whole units only.
        if (!update_header(!m_ok))
            m_ok = false;
    }
    return chunk;
}

template<typename Info, typename Data>
std::int64_t FileWriterWAV<Info, Data>::units_per_update() const
{
    std::int64_t samples_per_unit = 1;
    if constexpr (has_fact<Info>)
        samples_per_unit = std::max<std::int64_t>(1, m_format.samples_per_block);
    return std::max<std::int64_t>(1, m_format.sample_rate / samples_per_unit / 2);
}

template<typename Info, typename Data>
bool FileWriterWAV<Info, Data>::update_header(bool now)
{
    if (m_declared_units != stale_header
        && (m_units == m_declared_units || (!now && m_units - m_declared_units < units_per_update())))
        return true;
    std::uint64_t data_end = std::uint64_t(m_format.data_offset) + m_format.data_size;
    m_format.riff_size = static_cast<std::uint32_t>(data_end - 8);
    bool ok = patch_sizes();
    if (ok)
        m_declared_units = m_units;
    return m_file->seek(data_end) && ok;
}

template<typename Info, typename Data>
bool FileWriterWAV<Info, Data>::write_chunk(const Data& chunk)
{
    if (!accepts(chunk))
        return true;
    std::uint64_t unit = m_format.block_align;
    std::uint64_t end = std::uint64_t(m_format.data_offset) + m_format.data_size + chunk.size() - 8;
    if (end > max_riff_size)
        return false;
    std::size_t written = m_file->write(chunk.bytes(), chunk.size());
    std::uint64_t whole = written / unit;
    m_units += static_cast<std::int64_t>(whole);
    m_format.data_size += static_cast<std::uint32_t>(whole * unit);
    if constexpr (has_fact<Info>)
        m_format.fact_samples += static_cast<std::uint32_t>(whole * m_format.samples_per_block);
    if (written % unit == 0)
        return written == chunk.size();
    // A unit cut off by a full disk: the next write goes over it, and the
    // file ends after the last whole unit when it is closed.
    m_cut_short = true;
    m_file->seek(static_cast<std::uint64_t>(m_format.data_offset) + m_format.data_size);
    return false;
}

template<typename Info, typename Data>
void FileWriterWAV<Info, Data>::close()
{
    if (!m_file || !m_file->is_ok())
        return;
    std::int64_t data_end = m_format.data_offset + m_format.data_size;
    if (m_cut_short)
        m_file->truncate(static_cast<std::uint64_t>(data_end));
    m_format.riff_size = static_cast<std::uint32_t>(data_end - 8);
    patch_sizes();
    m_file.reset();
}

template<typename Info, typename Data>
bool FileWriterWAV<Info, Data>::patch_sizes()
{
    bool ok = write_u32_at(*m_file, 4, m_format.riff_size)
        && write_u32_at(*m_file, m_format.data_offset - 4, m_format.data_size);
    if constexpr (has_fact<Info>) {
        if (m_fact_offset >= 0)
            ok = ok && write_u32_at(*m_file, m_fact_offset, m_format.fact_samples);
    }
    return ok;
}

template<typename Info, typename Data>
bool FileWriterWAV<Info, Data>::is_ok()
{
    liba::MutexLock lock(this->get_lock());
    return m_ok;
}

template<typename Info, typename Data>
std::int64_t FileWriterWAV<Info, Data>::get_data_size()
{
    liba::MutexLock lock(this->get_lock());
    return units_to_size(m_units);
}

template class FileWriterWAV<WAVInfoPCM, PCMData>;
template class FileWriterWAV<WAVInfoADPCM, ADPCMData>;
template class FileWriterWAV<WAVInfoGSM, GSMData>;

}
