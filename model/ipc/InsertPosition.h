#pragma once

#include <cstdint>
#include <string>

// The position in the file's own units at which an insert may go: the start
// of the sample frame (PCM WAV) or of the MPEG frame (MP3) that holds it, so
// that a part never splits a frame. Block-coded WAV counts whole blocks
// already, and files no reader opens keep the position.
std::int64_t align_insert_position(const std::u16string& path, std::int64_t position);
