#include "audio/readers/DecodingReader.h"

#include <algorithm>

namespace audio {

namespace {

constexpr std::int64_t skip_step_frames = 8192;

}

std::int64_t DecodingReader::time_to_bytes(double seconds)
{
    return truncate(get_sample_rate() * seconds);
}

double DecodingReader::bytes_to_time(std::int64_t frames)
{
    int rate = get_sample_rate();
    return rate ? double(frames) / rate : 0;
}

bool DecodingReader::skip(double seconds)
{
    return skip_bytes(time_to_bytes(seconds));
}

bool DecodingReader::skip_bytes(std::int64_t frames)
{
    return pass_frames(frames);
}

bool DecodingReader::pass_frames(std::int64_t frames)
{
    if (!is_open())
        return false;
    while (frames > 0) {
        PCMData chunk = get_data(static_cast<std::int32_t>(std::min(frames, skip_step_frames)));
        std::int32_t got = chunk.get_frames();
        if (got <= 0)
            return false;
        push(chunk);
        frames -= got;
    }
    return true;
}

}
