#include "model/PlayChainFactory.h"

#include "audio/chains/PlayChainCandidates.h"
#include "model/RangeMarkList.h"
#include "model/Router.h"

using namespace audio;

std::unique_ptr<PlayChain> open_play_chain(const std::u16string& path, const RangeMarkList* bookmarks)
{
    if (!bookmarks)
        return PlayChainCandidates<WholeFile>::open(PlayFormats::all, path);
    return PlayChainCandidates<Router, RangeMarkList>::open(PlayFormats::all, path, *bookmarks);
}
