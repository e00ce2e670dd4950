#pragma once

#include "audio/DataBlock.h"

namespace audio {

// One MPEG audio frame: the buffer starts at the frame's first byte and may
// hold more than the frame; frame_length is the frame's own size (0 when empty).
struct MP3Data : DataBlock {
    std::int32_t frame_length = 0;
};

}
