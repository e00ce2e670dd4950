#pragma once

#include "audio/chains/PlayChainReaderOnlyBase.h"
#include "audio/chains/RecordChain.h"

namespace audio {

// A reader that hands out PCM itself (PCM WAV, Vorbis, Musepack, and the
// readers of bookmarked segments).
template<typename R>
class PlayChainReaderOnly : public PlayChainReaderOnlyBase<R> {
public:
    using PlayChainReaderOnlyBase<R>::PlayChainReaderOnlyBase;

    Provider<PCMData>* get_output() override { return this->m_reader.get(); }

    bool connect_to(RecordChain& chain) override { return chain.connect_reader(this->m_reader.get()); }
};

}
