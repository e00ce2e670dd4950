#pragma once

#include "audio/codecs/DecoderMP3.h"
#include "audio/readers/FileReaderMP3.h"
#include "audio/chains/PlayChainReaderDecoder.h"

namespace audio {

// An MP3 file; its ID3v1 title, when it has one, names the chain.
class PlayChainMP3 : public PlayChainReaderDecoder<FileReaderMP3, DecoderMP3> {
public:
    PlayChainMP3(std::u16string name, std::unique_ptr<FileReaderMP3> reader, const std::u16string& path);
};

}
