#include "audio/chains/ChainFactory.h"

#include "audio/chains/PlayChainCandidates.h"
#include "audio/chains/RecordChainBase.h"
#include "audio/chains/RecordChainWAV.h"
#include "audio/codecs/EncoderADPCM.h"
#include "audio/codecs/EncoderGSM.h"
#include "audio/codecs/EncoderMP3.h"
#include "audio/readers/FileReaderWAVADPCM.h"
#include "audio/readers/FileReaderWAVGSM.h"
#include "audio/readers/FileReaderWAVPCM.h"
#include "audio/writers/FileWriterMP3.h"
#include "audio/writers/FileWriterWAVADPCM.h"
#include "audio/writers/FileWriterWAVGSM.h"
#include "os/Log.h"

namespace audio {

std::unique_ptr<PlayChain> create_play_chain(const std::u16string& path)
{
    return PlayChainCandidates<WholeFile>::open(PlayFormats::engine, path);
}

namespace {

// Checked when the chain is made: an encoder that refuses every chunk would
// leave a writer that stays ok and a file that never comes.
template<typename Encoder>
bool takes(const std::u16string& name, const PCMData& format)
{
    if (Encoder::takes(format))
        return true;
    os::log() << "create_record_chain: " << name << " cannot code " << format.bits_per_sample
              << "-bit audio at " << format.sample_rate << " Hz, " << format.channels << " channels\n";
    return false;
}

}

std::unique_ptr<RecordChain> create_record_chain(const std::u16string& path,
    const std::u16string& format_name, std::int32_t channels, std::int32_t bits_per_sample,
    std::int32_t sample_rate, std::int32_t bitrate, bool append, FileWriter::Opener opener)
{
    const PCMData format(liba::SharedBuffer(), channels, bits_per_sample, sample_rate);
    if (format_name == u"PCM")
        return std::make_unique<RecordChainWAV>(path, append, std::move(opener));
    if (format_name == u"mp3") {
        if (!takes<EncoderMP3>(format_name, format))
            return nullptr;
        if (!EncoderMP3Core::create(sample_rate, channels, bitrate / 1000)) {
            os::log() << "create_record_chain: the MP3 encoder refuses " << bitrate << " bit/s at "
                      << sample_rate << " Hz, " << channels << " channels\n";
            return nullptr;
        }
        return std::make_unique<RecordChainBase<EncoderMP3, FileWriterMP3, FileReaderMP3>>(
            format_name, std::make_unique<EncoderMP3>(bitrate), path, append, std::move(opener));
    }
    if (format_name == u"ADPCM") {
        if (!takes<EncoderADPCM>(format_name, format))
            return nullptr;
        return std::make_unique<RecordChainBase<EncoderADPCM, FileWriterWAVADPCM, FileReaderWAVADPCM>>(
            format_name, std::make_unique<EncoderADPCM>(), path, append, std::move(opener));
    }
    if (format_name == u"GSM") {
        if (!takes<EncoderGSM>(format_name, format))
            return nullptr;
        return std::make_unique<RecordChainBase<EncoderGSM, FileWriterWAVGSM, FileReaderWAVGSM>>(
            format_name, std::make_unique<EncoderGSM>(), path, append, std::move(opener));
    }
    return nullptr;
}

}
