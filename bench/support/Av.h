#pragma once

#include <cstddef>
#include <string>

// FFmpeg in this process, through libavformat and libavcodec, as the ffmpeg
// program reads and codes a file.
namespace bench::av {

// Decodes the first audio stream to the end, with the named decoder or the
// stream's own; returns the sample frames decoded.
std::size_t decode_file(const std::string& path, const char* decoder = nullptr);

// Reads the first audio stream's packets to the end without decoding;
// returns their bytes.
std::size_t read_packets(const std::string& path);

// Encodes a 16-bit PCM WAV file with the named encoder and writes the coded
// packets to target; block_size sets the ADPCM block (0: the coder's own).
void encode_file(const std::string& path, const std::string& target, const char* encoder, int block_size = 0);

}
