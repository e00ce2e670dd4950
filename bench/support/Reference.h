#pragma once

#include <benchmark/benchmark.h>
#include <functional>
#include <string>
#include <vector>

// Every figure is a ratio to a reference tool run on the same input in the
// same run, and a multiple of real time; absolute times alone mean little on
// a shared machine.
namespace bench {

struct Reference {
    std::string name; // the counter's prefix, e.g. "sox"
    std::vector<std::string> argv; // run with stdout to /dev/null
};

// Wall-clock seconds of the fastest of a few runs of the command; negative
// when it cannot be run or fails.
double time_command(const std::vector<std::string>& argv, int runs = 3);

// Runs work once per iteration under manual timing (register the benchmark
// with ->UseManualTime()) and returns the mean seconds per iteration.
double measure(benchmark::State& state, const std::function<void()>& work);

// Sets the counters: "x_realtime" (audio seconds per second of ours), and
// for each reference "<name>_x_realtime" and "vs_<name>" (our time divided
// by the reference's: below 1 is faster than the reference).
void report(benchmark::State& state, double ours_seconds, double audio_seconds,
    const std::vector<Reference>& references);

// A file made once per run by the given command, in a folder removed at
// exit; "%o" in argv stands for the file's path. Empty when it failed.
std::string generated_input(const std::string& name, std::vector<std::string> argv);

}
