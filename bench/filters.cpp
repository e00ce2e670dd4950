#include "audio/filters/EqualizerPCM.h"
#include "audio/filters/FastPlay.h"
#include "audio/filters/StretchFilter.h"
#include "audio/readers/FileReaderWAVPCM.h"
#include "bench/engine/ReferenceWsola.h"
#include "bench/support/Compare.h"
#include "bench/support/Reference.h"
#include "bench/support/Sox.h"
#include "platform/core/Utf8.h"

#include <cstring>
#include <functional>
#include <string>

namespace {

constexpr double seconds = 30;

// Left a rising tone, right pink noise: something for the stretch to hunt
// peaks in on both sides.
std::string input()
{
    return bench::generated_input("filters.wav",
        { "sox", "-R", "-n", "-r", "44100", "-c", "2", "-b", "16", "%o", "synth", "30", "sine", "300-3000",
            "pinknoise", "vol", "0.5" });
}

// Reads the file through the node in the player's 200 ms requests, as the
// play path does; SoX reads the same file through its effect.
template<typename Node>
void play_through(benchmark::State& state, const std::function<void(Node&)>& set_up,
    const std::vector<bench::sox::Effect>& effects)
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
            Node node;
            set_up(node);
            audio::connect<audio::PCMData>(&reader, &node);
            for (audio::PCMData chunk = node.get_data(8820); !chunk.is_empty(); chunk = node.get_data(8820))
                total += chunk.size();
            audio::connect<audio::PCMData>(&reader, nullptr);
        },
        { { "sox", [&] { bench::sox::run_effects(path, effects); } } });
    benchmark::DoNotOptimize(total);
}

// One band at +6 dB, an octave wide, against SoX's peaking equalizer.
void EqualizerBand(benchmark::State& state)
{
    auto hertz = std::to_string(state.range(0));
    play_through<audio::EqualizerPCM>(state,
        [&](audio::EqualizerPCM& band) {
            band.set_gain(6);
            band.set_frequency(double(state.range(0)));
            band.set_bandwidth(1);
        },
        { { "equalizer", hertz, "1o", "6" } });
}

// The whole file as interleaved 16-bit samples, read as the play path reads it.
std::vector<std::int16_t> read_samples(const std::string& path)
{
    audio::FileReaderWAVPCM reader(platform::from_utf8(path));
    std::vector<std::int16_t> samples;
    for (audio::PCMData chunk = reader.get_data(8820); !chunk.is_empty(); chunk = reader.get_data(8820)) {
        const std::size_t at = samples.size();
        samples.resize(at + chunk.size() / 2);
        std::memcpy(samples.data() + at, chunk.bytes(), chunk.size() / 2 * 2);
    }
    return samples;
}

// Half (and a third of) speed with pitch lock against a plain reference
// WSOLA of the same scale: our stretch looks for peaks within 5 ms, so the
// WSOLA's windows are 10 ms long and it searches 5 ms either way.
void StretchSpeed(benchmark::State& state)
{
    auto factor = std::int32_t(state.range(0));
    std::string path = input();
    if (path.empty()) {
        state.SkipWithError("cannot make the input with sox");
        return;
    }
    std::size_t total = 0;
    bench::compare(state, seconds,
        [&] {
            audio::FileReaderWAVPCM reader(platform::from_utf8(path));
            audio::StretchFilter stretch;
            stretch.set_factor(factor);
            audio::connect<audio::PCMData>(&reader, &stretch);
            for (audio::PCMData chunk = stretch.get_data(8820); !chunk.is_empty(); chunk = stretch.get_data(8820))
                total += chunk.size();
            audio::connect<audio::PCMData>(&reader, nullptr);
        },
        { { "reference_wsola", [&] {
               total += bench::engine::reference_wsola(read_samples(path), 2, factor, 440, 220).size();
           } } });
    benchmark::DoNotOptimize(total);
}

// Faster without pitch lock, by picking frames, against SoX's downsample,
// which drops frames too (every n-th one kept, nothing filtered).
void FastSpeed(benchmark::State& state)
{
    auto speed = std::int32_t(state.range(0));
    play_through<audio::FastPlay>(state, [&](audio::FastPlay& fast) { fast.set_speed(speed); },
        { { "downsample", std::to_string(speed) } });
}

}

BENCHMARK(EqualizerBand)
    ->Arg(200)
    ->Arg(1000)
    ->Arg(4000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(StretchSpeed)->Arg(2)->Arg(3)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(FastSpeed)->Arg(2)->Arg(3)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
