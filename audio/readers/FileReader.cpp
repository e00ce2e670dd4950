#include "audio/readers/FileReader.h"

#include <cmath>

namespace audio {

double FileReader::get_length()
{
    return bytes_to_time(get_length_bytes());
}

double FileReader::get_position()
{
    return bytes_to_time(get_position_bytes());
}

void FileReader::seek(double seconds)
{
    seek_bytes(time_to_bytes(seconds));
}

std::int64_t FileReader::truncate(double value)
{
    // 2^40 units leave room to multiply by a block size without overflow.
    constexpr double limit = 1099511627776.0;
    if (std::isnan(value))
        return 0;
    if (value >= limit)
        return std::int64_t(1) << 40;
    if (value <= -limit)
        return -(std::int64_t(1) << 40);
    return static_cast<std::int64_t>(value);
}

}
