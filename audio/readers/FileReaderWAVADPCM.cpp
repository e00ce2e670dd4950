#include "audio/readers/FileReaderWAVADPCM.h"

namespace audio {

FileReaderWAVADPCM::FileReaderWAVADPCM(const std::u16string& path)
    : FileReaderWAVBlocks(path, 5)
{
}

ADPCMData FileReaderWAVADPCM::make_block(liba::SharedBuffer bytes) const
{
    ADPCMData block;
    block.buffer = std::move(bytes);
    block.channels = m_info.channels;
    block.bits_per_sample = m_info.bits_per_sample;
    block.sample_rate = m_info.sample_rate;
    block.block_align = m_info.block_align;
    return block;
}

}
