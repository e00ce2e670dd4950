#pragma once

#include "audio/readers/FileReaderWMA.h"
#include "audio/chains/PlayChainReaderOnlyBase.h"

namespace audio {

// A WMA file: the reader decodes it to PCM, which plays like any other; it
// has no undecoded copy.
class PlayChainWMA : public PlayChainReaderOnlyBase<FileReaderWMA> {
public:
    using PlayChainReaderOnlyBase::PlayChainReaderOnlyBase;

    Provider<PCMData>* get_output() override { return m_reader.get(); }

    void set_paused(bool paused) override { m_reader->set_paused(paused); }

    bool is_paused() override { return m_reader->is_paused(); }
};

}
