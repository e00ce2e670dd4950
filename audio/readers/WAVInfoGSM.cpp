#include "audio/readers/WAVInfoGSM.h"

namespace audio {

bool WAVInfoGSM::read_extension(os::File& file)
{
    if (format_tag != 49)
        return false;
    std::uint16_t extension_size;
    if (!read_u16(file, extension_size) || !read_u16(file, samples_per_block) || !skip_rest_of_fmt(file)
        || !read_fact(file, fact_samples, has_fact))
        return false;
    return channels == 1 && sample_rate == 8000 && samples_per_block == 320 && block_align == 65;
}

bool WAVInfoGSM::write_extension(os::File& file)
{
    return write_u16(file, 2) && write_u16(file, samples_per_block) && write_fact(file, fact_samples);
}

}
