#pragma once

#include "audio/PCMData.h"
#include "audio/Provider.h"

#include <benchmark/benchmark.h>
#include <cstddef>

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

}
