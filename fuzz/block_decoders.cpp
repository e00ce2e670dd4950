// Feeds arbitrary blocks to the Microsoft ADPCM and GSM 6.10 decoders; the
// first bytes pick the block's claimed format.
#include "audio/codecs/DecoderADPCM.h"
#include "audio/codecs/DecoderGSM.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    audio::ADPCMData adpcm;
    adpcm.channels = data[0] % 4;
    adpcm.bits_per_sample = data[1] % 8;
    adpcm.block_align = (data[2] | data[3] << 8) % 4097;
    adpcm.sample_rate = 8000;
    adpcm.buffer = liba::SharedBuffer(size - 4, data + 4);
    audio::DecoderADPCM adpcm_decoder;
    adpcm_decoder.decode(adpcm);

    audio::GSMData gsm;
    gsm.buffer = liba::SharedBuffer(size, data);
    audio::DecoderGSM gsm_decoder;
    gsm_decoder.decode(gsm);
    return 0;
}
