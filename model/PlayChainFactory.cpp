#include "model/PlayChainFactory.h"

#include "audio/chains/ChainFactory.h"
#include "audio/codecs/DecoderADPCM.h"
#include "audio/codecs/DecoderGSM.h"
#include "audio/codecs/DecoderVorbis.h"
#include "audio/readers/FileReaderWAVADPCM.h"
#include "audio/readers/FileReaderWAVGSM.h"
#include "audio/readers/FileReaderWAVPCM.h"
#include "audio/chains/PlayChainMP3.h"
#include "audio/chains/PlayChainReaderDecoder.h"
#include "audio/chains/PlayChainReaderOnly.h"
#include "audio/chains/PlayChainWMA.h"
#include "model/RangeMarkList.h"
#include "model/Router.h"

using namespace audio;

std::unique_ptr<PlayChain> open_play_chain(const std::u16string& path, const RangeMarkList* bookmarks)
{
    if (!bookmarks) {
        if (auto chain = create_play_chain(path))
            return chain;
        return try_play_chain<PlayChainWMA, FileReaderWMA>(u"WMA", path);
    }
    const RangeMarkList& list = *bookmarks;
    if (auto chain = try_play_chain<PlayChainReaderOnly<Router<FileReaderWAVPCM>>, Router<FileReaderWAVPCM>>(
            u"PCM", path, list))
        return chain;
    if (auto chain = try_play_chain<PlayChainReaderDecoder<Router<FileReaderWAVADPCM>, DecoderADPCM>,
            Router<FileReaderWAVADPCM>>(u"ADPCM", path, list))
        return chain;
    if (auto chain = try_play_chain<PlayChainReaderDecoder<Router<FileReaderWAVGSM>, DecoderGSM>,
            Router<FileReaderWAVGSM>>(u"GSM", path, list))
        return chain;
    if (auto chain = try_play_chain<PlayChainReaderOnly<Router<DecoderVorbis>>, Router<DecoderVorbis>>(
            u"Vorbis", path, list))
        return chain;
    return try_play_chain<PlayChainMP3, Router<FileReaderMP3>>(u"mp3", path, list);
}
