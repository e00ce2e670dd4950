#pragma once

#include "audio/writers/FileWriterWAVPCM.h"
#include "audio/chains/RecordChain.h"

#include <memory>

namespace audio {

// PCM goes straight into a PCM WAV writer, which also reports the bit rate.
class RecordChainWAV : public RecordChain {
public:
    RecordChainWAV(const std::u16string& path, bool append, FileWriter::Opener opener = {});
    ~RecordChainWAV() override;

    Encoder* get_encoder() override { return m_writer.get(); }

    Consumer<PCMData>* get_input() override { return m_writer.get(); }

    FileWriter* get_writer() override { return m_writer.get(); }

    std::u16string get_format_name() override { return u"PCM"; }

    using RecordChain::connect_reader;
    bool connect_reader(FileReaderWAVPCM* reader) override;

private:
    std::unique_ptr<FileWriterWAVPCM> m_writer;
};

}
