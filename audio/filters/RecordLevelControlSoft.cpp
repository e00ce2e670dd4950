#include "audio/filters/RecordLevelControlSoft.h"

#include "audio/SampleFormat.h"

#include <algorithm>

namespace audio {

double RecordLevelControlSoft::gain_of(double level)
{
    if (level < 0.5)
        return 0.05 + (level / 0.5) * (1.0 - 0.05);
    return 1.0 + ((level - 0.5) / 0.5) * (10.0 - 1.0);
}

PCMData RecordLevelControlSoft::apply(const PCMData& input)
{
    if (m_level == 0.5)
        return input;
    double gain = gain_of(m_level);
    liba::SharedBuffer bytes(input.size());
    bytes.copy_from(0, input.buffer);
    std::uint8_t* p = writable_bytes(bytes);
    if (input.bits_per_sample == 8) {
        // Truncated after the offset: negative values round down.
        for (std::size_t i = 0; i < bytes.size(); ++i)
            p[i] = std::uint8_t(std::clamp(Samples8::load(p + i) * gain, -128.0, 127.0) + 128.0);
    } else {
        // Any other width is taken as 16-bit.
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            Samples16::store(p + i, std::int32_t(std::clamp(Samples16::load(p + i) * gain, -32768.0, 32767.0)));
    }
    return PCMData(bytes, input.channels, input.bits_per_sample, input.sample_rate);
}

}
