#include "bench/support/Compare.h"

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
    rounds = std::max(rounds, 5);
    std::vector<double> our_times;
    std::vector<std::vector<double>> their_times(rivals.size());
    std::vector<std::vector<double>> ratios(rivals.size());
    for (auto _ : state) {
        ours();
        for (const Rival& rival : rivals)
            rival.run();
        for (int round = 0; round < rounds; ++round) {
            const double mine = seconds_of(ours);
            our_times.push_back(mine);
            for (std::size_t i = 0; i < rivals.size(); ++i) {
                const double theirs = seconds_of(rivals[i].run);
                their_times[i].push_back(theirs);
                if (theirs > 0)
                    ratios[i].push_back(mine / theirs);
            }
        }
        state.SetIterationTime(median(our_times));
    }
    const double mine = median(our_times);
    state.counters["ours_ms"] = 1000 * mine;
    if (mine > 0 && audio_seconds > 0)
        state.counters["x_realtime"] = audio_seconds / mine;
    for (std::size_t i = 0; i < rivals.size(); ++i) {
        state.counters[rivals[i].name + "_ms"] = 1000 * median(their_times[i]);
        if (ratios[i].empty())
            continue;
        const std::string key = "ours/" + rivals[i].name;
        state.counters[key] = median(ratios[i]);
        state.counters[key + "_min"] = *std::min_element(ratios[i].begin(), ratios[i].end());
        state.counters[key + "_max"] = *std::max_element(ratios[i].begin(), ratios[i].end());
    }
}

}
