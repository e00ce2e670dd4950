#pragma once

#include "bench/support/Compare.h"

#include <benchmark/benchmark.h>
#include <functional>
#include <vector>

// Interleaved rounds of our code against references on the same input, in
// this process, with the spread of the figures.
namespace bench::engine {

// After one unmeasured run of each, runs ours and every rival by turns for
// `rounds` rounds (at least five). For each rival sets "ours/<rival>" (the
// median of the rounds' ratios, below 1: ours is faster) with its range in
// "ours/<rival>_min" and "_max", and the medians "ours_ms" and "<rival>_ms";
// "x_realtime" for `audio_seconds` of audio (none for 0). Register with
// ->Iterations(1)->UseManualTime().
void compare_rounds(benchmark::State& state, double audio_seconds, const std::function<void()>& ours,
    const std::vector<Rival>& rivals, int rounds = 7);

}
