#pragma once

#include "audio/chains/RecordChain.h"
#include "audio/writers/FileWriter.h"

#include <memory>
#include <string>
#include <utility>

namespace audio {

// An encoder linked to the writer of its coding; the reader type R is the
// one whose data the writer takes undecoded.
template<typename E, typename W, typename R>
class RecordChainBase : public RecordChain {
public:
    RecordChainBase(std::u16string name, std::unique_ptr<E> encoder, const std::u16string& path, bool append,
        FileWriter::Opener opener = {})
        : m_writer(std::make_unique<W>(path, append, std::move(opener)))
        , m_encoder(std::move(encoder))
        , m_name(std::move(name))
    {
        connect(m_encoder.get(), m_writer.get());
    }

    // The encoder goes first: what it still holds reaches the writer, which
    // then completes the file.
    ~RecordChainBase() override
    {
        unlink_upstream<PCMData>(*m_encoder);
        // A reader linked by connect_to; the encoder's own link stays for its last frames.
        if (m_writer->get_provider() != m_encoder.get())
            unlink_upstream(*m_writer);
        m_encoder.reset();
        m_writer.reset();
    }

    Encoder* get_encoder() override { return m_encoder.get(); }

    Consumer<PCMData>* get_input() override { return m_encoder.get(); }

    FileWriter* get_writer() override { return m_writer.get(); }

    std::u16string get_format_name() override { return m_name; }

    using RecordChain::connect_reader;

    bool connect_reader(R* reader) override
    {
        connect(reader, m_writer.get());
        return true;
    }

private:
    std::unique_ptr<W> m_writer;
    std::unique_ptr<E> m_encoder;
    std::u16string m_name;
};

}
