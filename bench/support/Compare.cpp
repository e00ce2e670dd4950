#include "bench/support/Compare.h"

#include <algorithm>
#include <chrono>

namespace bench {

namespace {

double seconds_of(const std::function<void()>& work)
{
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    std::size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}

void compare(benchmark::State& state, double audio_seconds, const std::function<void()>& ours,
    const std::vector<Rival>& rivals, int rounds)
{
    std::vector<double> our_times;
    std::vector<std::vector<double>> their_times(rivals.size());
    for (auto _ : state) {
        ours();
        for (const Rival& rival : rivals)
            rival.run();
        for (int round = 0; round < rounds; ++round) {
            our_times.push_back(seconds_of(ours));
            for (std::size_t i = 0; i < rivals.size(); ++i)
                their_times[i].push_back(seconds_of(rivals[i].run));
        }
        state.SetIterationTime(median(our_times));
    }
    double mine = median(our_times);
    state.counters["ours_ms"] = 1000 * mine;
    if (mine > 0)
        state.counters["x_realtime"] = audio_seconds / mine;
    for (std::size_t i = 0; i < rivals.size(); ++i) {
        double theirs = median(their_times[i]);
        state.counters[rivals[i].name + "_ms"] = 1000 * theirs;
        if (theirs > 0)
            state.counters["ours/" + rivals[i].name] = mine / theirs;
    }
}

}
