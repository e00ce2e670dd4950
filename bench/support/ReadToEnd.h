#pragma once

#include "audio/PCMData.h"
#include "audio/Provider.h"
#include "platform/core/Utf8.h"

#include <benchmark/benchmark.h>
#include <cstddef>
#include <string>

namespace bench {

// Pulls the provider dry in the player's 16384-frame requests, as playing
// costs before the filters; returns the bytes handed out.
inline std::size_t read_to_end(audio::Provider<audio::PCMData>& provider)
{
    std::size_t total = 0;
    for (;;) {
        audio::PCMData chunk = provider.get_data(16384);
        if (chunk.is_empty())
            return total;
        benchmark::DoNotOptimize(chunk.bytes());
        total += chunk.size();
    }
}

// A file read by its reader through the decoder behind it, to the end.
template<typename Reader, typename Decoder>
std::size_t decode_to_end(const std::string& path)
{
    Reader reader(platform::from_utf8(path));
    Decoder decoder;
    audio::connect(&reader, &decoder);
    std::size_t total = read_to_end(decoder);
    audio::connect(&reader, nullptr);
    return total;
}

}
