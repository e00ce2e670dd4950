#pragma once

#include <benchmark/benchmark.h>
#include <functional>
#include <string>
#include <vector>

// Inputs and timing shared by the benchmarks; comparisons with reference
// implementations go through bench::compare (Compare.h).
namespace bench {

// Runs work once per iteration under manual timing (register the benchmark
// with ->UseManualTime()) and returns the mean seconds per iteration.
double measure(benchmark::State& state, const std::function<void()>& work);

// A file made once per run by the given command, in a folder removed at
// exit; "%o" in argv stands for the file's path. Empty when it failed.
std::string generated_input(const std::string& name, std::vector<std::string> argv);

}
