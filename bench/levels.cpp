#include "audio/filters/EqualizerPCM.h"
#include "audio/filters/FastPlay.h"
#include "audio/filters/LevelFilter.h"
#include "audio/filters/LevelMeter.h"
#include "audio/filters/NullProcessor.h"
#include "audio/filters/StretchFilter.h"
#include "audio/readers/FileReaderWAVPCM.h"
#include "bench/support/Compare.h"
#include "bench/support/Reference.h"
#include "bench/support/Sox.h"
#include "platform/core/Utf8.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr double seconds = 30;
// The player asks for 200 ms at a time.
constexpr std::int32_t pull_frames = 8820;

// Speech-like bursts over a quiet floor: something for the gate, the limiter
// and the booster to act on.
std::string input()
{
    return bench::generated_input("levels.wav",
        { "sox", "-R", "-n", "-r", "44100", "-c", "2", "-b", "16", "%o", "synth", "30", "sine", "300-3000",
            "pinknoise", "tremolo", "2", "90", "vol", "0.7" });
}

// Booster, noise and limiter all at their strongest setting.
void set_every_level(audio::LevelFilter& filter) { filter.set_curve(128, 128, 128); }

// Against SoX's compand with a curve of the same kind: a gate below -60 dB,
// a lift of quiet parts and a limit near full scale.
void LevelControls(benchmark::State& state)
{
    std::string path = input();
    if (path.empty()) {
        state.SkipWithError("cannot make the input with sox");
        return;
    }
    std::size_t total = 0;
    bench::compare(state, seconds,
        [&] {
            audio::FileReaderWAVPCM reader(platform::from_utf8(path));
            audio::LevelFilter filter;
            set_every_level(filter);
            audio::connect<audio::PCMData>(&reader, &filter);
            for (audio::PCMData chunk = filter.get_data(pull_frames); !chunk.is_empty();
                 chunk = filter.get_data(pull_frames))
                total += chunk.size();
            audio::connect<audio::PCMData>(&reader, nullptr);
        },
        { { "sox", [&] {
               bench::sox::run_effects(
                   path, { { "compand", "0.01,0.3", "6:-70,-60,-20", "-5", "-90", "0.1" } });
           } } });
    benchmark::DoNotOptimize(total);
}

// The whole play path with every filter on, pulled as the player pulls: the
// slowest single pull must stay far below the 200 ms the device has queued.
void SlowestPlayPull(benchmark::State& state)
{
    std::string path = input();
    if (path.empty()) {
        state.SkipWithError("cannot make the input with sox");
        return;
    }
    double slowest = 0;
    double ours = bench::measure(state, [&] {
        audio::FileReaderWAVPCM reader(platform::from_utf8(path));
        audio::NullProcessor<audio::PCMData> head;
        std::vector<std::unique_ptr<audio::EqualizerPCM>> bands;
        for (double hertz : { 60.0, 250.0, 1000.0, 4000.0, 12000.0 }) {
            bands.push_back(std::make_unique<audio::EqualizerPCM>());
            bands.back()->set_gain(6);
            bands.back()->set_frequency(hertz);
            bands.back()->set_bandwidth(1);
        }
        audio::FastPlay fast;
        audio::StretchFilter stretch;
        stretch.set_factor(2);
        audio::LevelFilter levels;
        set_every_level(levels);
        audio::LevelMeter meter;

        std::vector<audio::Provider<audio::PCMData>*> providers { &reader, &head };
        std::vector<audio::Consumer<audio::PCMData>*> consumers { &head };
        for (auto& band : bands) {
            consumers.push_back(band.get());
            providers.push_back(band.get());
        }
        for (auto* node : std::initializer_list<audio::Consumer<audio::PCMData>*> { &fast, &stretch, &levels, &meter })
            consumers.push_back(node);
        providers.insert(providers.end(), { &fast, &stretch, &levels });
        for (std::size_t i = 0; i < consumers.size(); ++i)
            audio::connect<audio::PCMData>(providers[i], consumers[i]);

        for (;;) {
            auto start = std::chrono::steady_clock::now();
            audio::PCMData chunk = meter.get_data(pull_frames);
            std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            slowest = std::max(slowest, took.count());
            if (chunk.is_empty())
                break;
        }
        for (auto* provider : providers)
            audio::connect<audio::PCMData>(provider, nullptr);
    });
    state.counters["slowest_pull_ms"] = 1000 * slowest;
    state.counters["slowest/buffer"] = slowest / 0.2;
    // Stretched to twice as long: 60 s of audio come out.
    if (ours > 0)
        state.counters["x_realtime"] = 2 * seconds / ours;
}

}

BENCHMARK(LevelControls)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(SlowestPlayPull)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
