#pragma once

#include <cstddef>
#include <string>

namespace bench::engine {

// The reference for our MP3 decoding: madplay's own loop over libmad, in
// this process. The file is read in large pieces into one stream buffer,
// every frame is decoded and synthesised, and the samples become 16-bit PCM
// through madplay's default output conversion (noise-shaped linear dither
// and clipping). Returns the PCM bytes made.
std::size_t madplay_decode(const std::string& path);

}
