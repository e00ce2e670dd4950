#include "audio/chains/RecordChainWAV.h"

#include "audio/readers/FileReaderWAVPCM.h"

namespace audio {

RecordChainWAV::RecordChainWAV(const std::u16string& path, bool append, FileWriter::Opener opener)
    : m_writer(std::make_unique<FileWriterWAVPCM>(path, append, std::move(opener)))
{
}

RecordChainWAV::~RecordChainWAV()
{
    unlink_upstream<PCMData>(*m_writer);
}

bool RecordChainWAV::connect_reader(FileReaderWAVPCM* reader)
{
    connect(reader, m_writer.get());
    return true;
}

}
