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

// After one unmeasured run of each, runs ours and every rival by turns (ours,
// every rival, ours, ...) for `rounds` rounds (at least five), so that all
// meet the machine in the same state. For each rival sets "ours/<rival>" (the
// median of the rounds' ratios, below 1: ours is faster) with its range in
// "ours/<rival>_min" and "_max", and the medians "ours_ms" and "<rival>_ms";
// "x_realtime" for `audio_seconds` of audio (none for 0). Register with
// ->Iterations(1)->UseManualTime().
void compare(benchmark::State& state, double audio_seconds, const std::function<void()>& ours,
    const std::vector<Rival>& rivals, int rounds = 7);

}
