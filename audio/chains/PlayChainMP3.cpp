#include "audio/chains/PlayChainMP3.h"

#include "audio/Id3Tag.h"

namespace audio {

PlayChainMP3::PlayChainMP3(
    std::u16string name, std::unique_ptr<FileReaderMP3> reader, const std::u16string& path)
    : PlayChainReaderDecoder(std::move(name), std::move(reader), path)
{
    Id3Tag tag(path);
    if (!tag.title.empty())
        m_title = tag.title;
}

}
