#include "audio/readers/FileReaderWAVBlocks.h"

#include "audio/ADPCMData.h"
#include "audio/GSMData.h"
#include "audio/readers/WAVInfoADPCM.h"
#include "audio/readers/WAVInfoGSM.h"
#include "liba/MutexLock.h"

#include <algorithm>

namespace audio {

template<typename T, typename Info>
FileReaderWAVBlocks<T, Info>::FileReaderWAVBlocks(const std::u16string& path, std::int32_t skip_step)
    : FileReaderWAV(path)
    , m_skip_step(skip_step)
{
    open_with(m_info);
    if (!m_open)
        return;
    // Every whole block of the data plays, up to the "fact" count when the
    // file gives one: the last block only in part when the count ends inside
    // it. Reads stop at the end of the audio data, even when "fact" promises
    // more. A "data" size that does not hold leaves "fact" no say either: a
    // recording cut off before its header was written has a count of 0.
    std::int64_t present = data_bytes_present() / m_info.block_align;
    m_length = present;
    if (m_info.has_fact && data_size_holds()) {
        std::int64_t per_block = m_info.samples_per_block;
        std::int64_t counted = (std::int64_t(m_info.fact_samples) + per_block - 1) / per_block;
        if (counted <= present) {
            m_length = counted;
            m_last_block_samples = std::int32_t(m_info.fact_samples % per_block);
        }
    }
}

template<typename T, typename Info>
std::int64_t FileReaderWAVBlocks<T, Info>::time_to_bytes(double seconds)
{
    if (m_info.samples_per_block == 0)
        return 0;
    return truncate(m_info.sample_rate * seconds / m_info.samples_per_block);
}

template<typename T, typename Info>
double FileReaderWAVBlocks<T, Info>::bytes_to_time(std::int64_t blocks)
{
    if (m_info.sample_rate == 0)
        return 0;
    return double(m_info.samples_per_block) * double(blocks) / m_info.sample_rate;
}

template<typename T, typename Info>
std::int64_t FileReaderWAVBlocks<T, Info>::get_length_bytes()
{
    liba::MutexLock lock(m_lock);
    return m_length;
}

template<typename T, typename Info>
std::int64_t FileReaderWAVBlocks<T, Info>::get_position_bytes()
{
    liba::MutexLock lock(m_lock);
    return m_current_block;
}

template<typename T, typename Info>
void FileReaderWAVBlocks<T, Info>::seek_bytes(std::int64_t block)
{
    liba::MutexLock lock(m_lock);
    if (!m_open)
        return;
    block = std::clamp<std::int64_t>(block, 0, m_length);
    if (block == m_current_block)
        return;
    m_file.seek(static_cast<std::uint64_t>(m_info.data_offset + block * m_info.block_align));
    m_current_block = block;
}

template<typename T, typename Info>
T FileReaderWAVBlocks<T, Info>::get_data(std::int32_t blocks)
{
    liba::MutexLock lock(m_lock);
    if (!m_open)
        return {};
    std::int64_t count = std::min<std::int64_t>(blocks, m_length - m_current_block);
    if (count <= 0)
        return {};
    auto size = static_cast<std::size_t>(count * m_info.block_align);
    liba::SharedBuffer bytes = m_output.take(size);
    auto got = static_cast<std::int64_t>(m_file.read(OutputBuffer::bytes(bytes), size));
    std::int64_t whole = got / m_info.block_align;
    if (got % m_info.block_align != 0)
        m_file.seek(
            static_cast<std::uint64_t>(m_info.data_offset + (m_current_block + whole) * m_info.block_align));
    m_current_block += whole;
    if (whole == 0)
        return {};
    T chunk = make_block(liba::SharedBuffer(bytes, 0, static_cast<std::size_t>(whole * m_info.block_align)));
    if (m_current_block == m_length)
        chunk.last_block_samples = m_last_block_samples;
    return chunk;
}

template<typename T, typename Info>
bool FileReaderWAVBlocks<T, Info>::skip(double seconds)
{
    if (m_info.samples_per_block == 0)
        return false;
    return skip_bytes(time_to_bytes(seconds));
}

template<typename T, typename Info>
bool FileReaderWAVBlocks<T, Info>::skip_bytes(std::int64_t blocks)
{
    if (!is_open())
        return false;
    while (blocks > 0) {
        T chunk = get_data(static_cast<std::int32_t>(std::min<std::int64_t>(blocks, m_skip_step)));
        if (chunk.is_empty())
            return false;
        this->push(chunk);
        blocks -= static_cast<std::int64_t>(chunk.size()) / m_info.block_align;
    }
    return true;
}

template class FileReaderWAVBlocks<ADPCMData, WAVInfoADPCM>;
template class FileReaderWAVBlocks<GSMData, WAVInfoGSM>;

}
