#pragma once

#include "fuzz/FuzzFile.h"

#include <cstdint>

// Opens the fuzz input with a decoding reader and drives it as the player and
// the user interface would: decode, seek half way, decode on, skip. A few chunks each
// way reach the decoder's paths; decoding whole files only made the runs slow.
template<typename Reader>
int fuzz_reader(const std::uint8_t* data, std::size_t size)
{
    FuzzFile file(data, size);
    Reader reader(file.path());
    reader.get_length();
    for (int i = 0; i < 16 && !reader.is_end(); ++i) {
        if (reader.get_data(4096).is_empty())
            break;
    }
    reader.seek_bytes(reader.get_length_bytes() / 2);
    for (int i = 0; i < 32 && !reader.is_end(); ++i) {
        if (reader.get_data(8192).is_empty())
            break;
    }
    reader.seek(-1.0);
    reader.skip_bytes(3000);
    reader.get_position();
    return 0;
}
