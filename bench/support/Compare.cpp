#include "bench/support/Compare.h"
#include "bench/support/Spread.h"

#include <algorithm>
#include <chrono>
#include <string>

namespace bench {

namespace {

double seconds_of(const std::function<void()>& work)
{
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}

void compare(benchmark::State& state, double audio_seconds, const std::function<void()>& ours,
    const std::vector<Rival>& rivals, int rounds)
{
    rounds = std::max(rounds, 5);
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
        state.SetIterationTime(spread_of(our_times).median);
    }
    const double mine = spread_of(our_times).median;
    state.counters["ours_ms"] = 1000 * mine;
    if (mine > 0 && audio_seconds > 0)
        state.counters["x_realtime"] = audio_seconds / mine;
    for (std::size_t i = 0; i < rivals.size(); ++i) {
        state.counters[rivals[i].name + "_ms"] = 1000 * spread_of(their_times[i]).median;
        const Spread ratio = ratio_spread(our_times, their_times[i]);
        if (ratio.count == 0)
            continue;
        const std::string key = "ours/" + rivals[i].name;
        state.counters[key] = ratio.median;
        state.counters[key + "_min"] = ratio.low;
        state.counters[key + "_max"] = ratio.high;
    }
}

}
