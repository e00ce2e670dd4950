#include "audio/writers/FileWriterWAVPCM.h"

#include "liba/MutexLock.h"

namespace audio {

namespace {

WAVInfoPCM new_pcm_format()
{
    WAVInfoPCM format;
    format.format_tag = 1;
    format.fmt_size = 16;
    format.data_offset = 44;
    return format;
}

}

FileWriterWAVPCM::FileWriterWAVPCM(const std::u16string& path, bool append, Opener opener)
    : FileWriterWAV(path, append, new_pcm_format(), std::move(opener))
{
}

int FileWriterWAVPCM::get_bitrate()
{
    liba::MutexLock lock(get_lock());
    return static_cast<int>(m_format.avg_bytes_per_sec * 8);
}

bool FileWriterWAVPCM::set_format(const PCMData& chunk)
{
    // A chunk without a format would make a file that no later chunk matches.
    if (chunk.channels <= 0 || chunk.bits_per_sample <= 0 || chunk.sample_rate <= 0
        || chunk.channels > 0xFFFF || chunk.bits_per_sample > 0xFFFF)
        return false;
    m_format.channels = chunk.channels;
    m_format.bits_per_sample = chunk.bits_per_sample;
    m_format.sample_rate = chunk.sample_rate;
    m_format.block_align = static_cast<std::uint16_t>((chunk.bits_per_sample + 7) / 8 * chunk.channels);
    m_format.avg_bytes_per_sec = std::uint32_t(m_format.block_align) * std::uint32_t(chunk.sample_rate);
    return m_format.block_align > 0;
}

bool FileWriterWAVPCM::accepts(const PCMData& chunk) const
{
    return chunk.channels == m_format.channels && chunk.bits_per_sample == m_format.bits_per_sample
        && chunk.sample_rate == m_format.sample_rate;
}

}
