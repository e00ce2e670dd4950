#include "audio/filters/Muter.h"

namespace audio {

PCMData Muter::process(const PCMData& input)
{
    if (!is_muted())
        return input;
    liba::SharedBuffer silence(input.size());
    silence.fill(input.bits_per_sample == 8 ? 128 : 0);
    return PCMData(silence, input.channels, input.bits_per_sample, input.sample_rate);
}

}
