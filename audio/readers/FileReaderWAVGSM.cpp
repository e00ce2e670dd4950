#include "audio/readers/FileReaderWAVGSM.h"

namespace audio {

FileReaderWAVGSM::FileReaderWAVGSM(const std::u16string& path)
    : FileReaderWAVBlocks(path, 10)
{
}

GSMData FileReaderWAVGSM::make_block(liba::SharedBuffer bytes) const
{
    GSMData block;
    block.buffer = std::move(bytes);
    return block;
}

}
