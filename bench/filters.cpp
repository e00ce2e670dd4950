#include "audio/filters/EqualizerPCM.h"
#include "audio/filters/FastPlay.h"
#include "audio/readers/FileReaderWAVPCM.h"
#include "audio/filters/StretchFilter.h"
#include "bench/support/Reference.h"
#include "platform/Utf8.h"

#include <string>

namespace {

constexpr double seconds = 30;

// Left a rising tone, right pink noise: something for the stretch to hunt
// peaks in on both sides.
std::string input()
{
    return bench::generated_input("filters.wav",
        { "sox", "-n", "-r", "44100", "-c", "2", "-b", "16", "%o", "synth", "30", "sine", "300-3000",
            "pinknoise", "vol", "0.5" });
}

// Reads the file through the node in the player's 200 ms requests, as the
// play path does; sox reads it too, so both sides pay for reading.
template<typename Node>
double play_through(
    benchmark::State& state, const std::string& path, const std::function<void(Node&)>& set_up)
{
    std::size_t total = 0;
    double ours = bench::measure(state, [&] {
        audio::FileReaderWAVPCM reader(platform::from_utf8(path));
        Node node;
        set_up(node);
        audio::connect<audio::PCMData>(&reader, &node);
        for (audio::PCMData chunk = node.get_data(8820); !chunk.is_empty(); chunk = node.get_data(8820))
            total += chunk.size();
        audio::connect<audio::PCMData>(&reader, nullptr);
    });
    benchmark::DoNotOptimize(total);
    state.counters["ms_per_audio_s"] = 1000 * ours / seconds;
    return ours;
}

std::vector<std::string> sox(const std::string& path, std::vector<std::string> effect)
{
    std::vector<std::string> argv = { "sox", "-D", path, "-t", "raw", "-" };
    argv.insert(argv.end(), effect.begin(), effect.end());
    return argv;
}

// One band at +6 dB, an octave wide, at the centre of each default band.
void EqualizerBand(benchmark::State& state)
{
    std::string path = input();
    if (path.empty()) {
        state.SkipWithError("cannot make the input with sox");
        return;
    }
    auto hertz = double(state.range(0));
    double ours = play_through<audio::EqualizerPCM>(state, path, [&](audio::EqualizerPCM& band) {
        band.set_gain(6);
        band.set_frequency(hertz);
        band.set_bandwidth(1);
    });
    bench::report(
        state, ours, seconds, { { "sox", sox(path, { "equalizer", std::to_string(hertz), "1o", "6" }) } });
}

// Half speed with pitch lock: the stretch at factor 2 (and 3 for a third).
void StretchSpeed(benchmark::State& state)
{
    std::string path = input();
    if (path.empty()) {
        state.SkipWithError("cannot make the input with sox");
        return;
    }
    auto factor = std::int32_t(state.range(0));
    double ours = play_through<audio::StretchFilter>(
        state, path, [&](audio::StretchFilter& stretch) { stretch.set_factor(factor); });
    bench::report(state, ours, seconds, { { "sox", sox(path, { "tempo", std::to_string(1.0 / factor) }) } });
}

// Faster than normal the stretch passes audio on and frame picking sets the
// speed: per hundredths of normal speed.
void FastSpeed(benchmark::State& state)
{
    std::string path = input();
    if (path.empty()) {
        state.SkipWithError("cannot make the input with sox");
        return;
    }
    double speed = double(state.range(0)) / 100;
    double ours
        = play_through<audio::FastPlay>(state, path, [&](audio::FastPlay& fast) { fast.set_speed(speed); });
    bench::report(state, ours, seconds, { { "sox", sox(path, { "tempo", std::to_string(speed) }) } });
}

}

BENCHMARK(EqualizerBand)->Arg(200)->Arg(400)->Arg(800)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(StretchSpeed)->Arg(2)->Arg(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(FastSpeed)->Arg(150)->Arg(200)->UseManualTime()->Unit(benchmark::kMillisecond);
