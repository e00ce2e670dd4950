#pragma once

#include "audio/chains/PlayChainReaderOnlyBase.h"
#include "audio/chains/RecordChain.h"

namespace audio {

// A reader of coded blocks or frames with the decoder that turns them into PCM.
template<typename R, typename D>
class PlayChainReaderDecoder : public PlayChainReaderOnlyBase<R> {
public:
    PlayChainReaderDecoder(std::u16string name, std::unique_ptr<R> reader, const std::u16string& path)
        : PlayChainReaderOnlyBase<R>(std::move(name), std::move(reader), path)
        , m_decoder(std::make_unique<D>())
    {
        connect(this->m_reader.get(), m_decoder.get());
    }

    ~PlayChainReaderDecoder() override
    {
        connect(static_cast<Provider<PCMData>*>(m_decoder.get()), nullptr);
        connect(this->m_reader.get(), nullptr);
    }

    Provider<PCMData>* get_output() override { return m_decoder.get(); }

    double get_held_seconds() override { return m_decoder->pending_seconds(); }

    void drop_held() override { m_decoder->drop_pending(); }

    bool connect_to(RecordChain& chain) override { return chain.connect_reader(this->m_reader.get()); }

private:
    std::unique_ptr<D> m_decoder;
};

}
