#include "audio/writers/FileWriterWAVADPCM.h"

#include "audio/codecs/ADPCMFormat.h"

namespace audio {

namespace {

WAVInfoADPCM new_adpcm_format()
{
    WAVInfoADPCM format;
    format.format_tag = 2;
    format.bits_per_sample = 4;
    format.fmt_size = 50;
    format.data_offset = 90;
    for (const auto& pair : ADPCMFormat::coefficients)
        format.coefficients.push_back({ pair.coef1, pair.coef2 });
    return format;
}

}

FileWriterWAVADPCM::FileWriterWAVADPCM(const std::u16string& path, bool append, Opener opener)
    : FileWriterWAV(path, append, new_adpcm_format(), std::move(opener))
{
}

bool FileWriterWAVADPCM::set_format(const ADPCMData& chunk)
{
    if (chunk.channels != 1 && chunk.channels != 2)
        return false;
    std::int32_t samples = ADPCMFormat::samples_per_block(chunk.block_align, chunk.channels, m_format.bits_per_sample);
    if (samples <= 0 || samples > 0xFFFF || chunk.block_align > 0xFFFF || chunk.sample_rate <= 0)
        return false;
    m_format.channels = chunk.channels;
    m_format.block_align = static_cast<std::uint16_t>(chunk.block_align);
    m_format.sample_rate = chunk.sample_rate;
    m_format.samples_per_block = static_cast<std::uint16_t>(samples);
    m_format.avg_bytes_per_sec
        = static_cast<std::uint32_t>(std::int64_t(chunk.sample_rate) * chunk.block_align / samples);
    return true;
}

bool FileWriterWAVADPCM::accepts(const ADPCMData& chunk) const
{
    return chunk.channels == m_format.channels && chunk.bits_per_sample == m_format.bits_per_sample
        && chunk.sample_rate == m_format.sample_rate && chunk.block_align == m_format.block_align;
}

}
