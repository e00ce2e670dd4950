#include "audio/PCMData.h"

namespace audio {

std::int32_t PCMData::get_frames() const
{
    std::int32_t frame = bytes_per_frame();
    if (size() == 0 || frame <= 0)
        return 0;
    return static_cast<std::int32_t>(size() / static_cast<std::size_t>(frame));
}

}
