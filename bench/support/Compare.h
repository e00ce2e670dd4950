#pragma once

#include <benchmark/benchmark.h>
#include <functional>
#include <string>
#include <vector>

// Our code against reference implementations run in this process, through
// their libraries, on the same input: every figure is ours / theirs.
namespace bench {

struct Rival {
    std::string name; // the counters' name, e.g. "sox"
    std::function<void()> run;
};

// Runs ours and each rival by turns (ours, every rival, ours, ...) after one
// unmeasured run of each, so that all meet the machine in the same state, and
// takes the median of each one's runs. Sets "ours_ms", "<rival>_ms",
// "ours/<rival>" (below 1: ours is faster) and "x_realtime" for
// `audio_seconds` of audio. Register with ->Iterations(1)->UseManualTime().
void compare(benchmark::State& state, double audio_seconds, const std::function<void()>& ours,
    const std::vector<Rival>& rivals, int rounds = 7);

}
