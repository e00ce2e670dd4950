#include "audio/readers/WAVInfoPCM.h"

namespace audio {

bool WAVInfoPCM::read_extension(os::File& file)
{
    // The readers divide by these and size buffers from them.
    return format_tag == 1 && channels > 0 && bits_per_sample > 0 && sample_rate > 0 && block_align > 0
        && skip_rest_of_fmt(file);
}

}
