#include "audio/writers/FileWriterWAVGSM.h"

#include "audio/codecs/GSMCodec.h"

namespace audio {

namespace {

WAVInfoGSM new_gsm_format()
{
    WAVInfoGSM format;
    format.format_tag = 49;
    format.channels = 1;
    format.sample_rate = 8000;
    format.bits_per_sample = 0;
    format.block_align = GSMCodec::block_bytes;
    format.samples_per_block = GSMCodec::block_samples;
    format.avg_bytes_per_sec = 1625;
    format.fmt_size = 20;
    format.data_offset = 60;
    return format;
}

}

FileWriterWAVGSM::FileWriterWAVGSM(const std::u16string& path, bool append, Opener opener)
    : FileWriterWAV(path, append, new_gsm_format(), std::move(opener))
{
}

}
