#include "audio/filters/TimeMeter.h"

namespace audio {

PCMData TimeMeter::process(const PCMData& input)
{
    if (input.sample_rate != 0)
        m_elapsed.store(get_seconds() + double(input.get_frames()) / input.sample_rate, std::memory_order_relaxed);
    return input;
}

}
