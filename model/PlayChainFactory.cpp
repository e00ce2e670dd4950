#include "model/PlayChainFactory.h"

#include "audio/ChainFactory.h"
#include "audio/DecoderADPCM.h"
#include "audio/DecoderGSM.h"
#include "audio/DecoderVorbis.h"
#include "audio/FileReaderWAVADPCM.h"
#include "audio/FileReaderWAVGSM.h"
#include "audio/FileReaderWAVPCM.h"
#include "audio/PlayChainMP3.h"
#include "audio/PlayChainReaderDecoder.h"
#include "audio/PlayChainReaderOnly.h"
#include "audio/PlayChainWMA.h"
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
