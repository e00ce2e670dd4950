#include "audio/readers/FileReaderWAVPCM.h"
#include "bench/support/ReadToEnd.h"
#include "bench/support/Reference.h"
#include "platform/Utf8.h"

namespace {

constexpr double seconds = 60;

std::string input()
{
    return bench::generated_input("60s.wav",
        { "sox", "-n", "-r", "44100", "-c", "2", "-b", "16", "%o", "synth", "60", "sine", "440", "sine",
            "660" });
}

// Reads a 60 s 44.1 kHz stereo file to the end in the player's 16384-frame
// requests: what playing a PCM WAV costs before the filters.
void WavPcmRead(benchmark::State& state)
{
    std::string path = input();
    if (path.empty()) {
        state.SkipWithError("cannot make the input with sox");
        return;
    }
    std::size_t total = 0;
    double ours = bench::measure(state, [&] {
        audio::FileReaderWAVPCM reader(platform::from_utf8(path));
        total += bench::read_to_end(reader);
    });
    benchmark::DoNotOptimize(total);
    bench::report(state, ours, seconds,
        { { "sox", { "sox", path, "-t", "raw", "-" } },
            { "ffmpeg", { "ffmpeg", "-loglevel", "error", "-i", path, "-f", "s16le", "-" } } });
}

}

BENCHMARK(WavPcmRead)->UseManualTime()->Unit(benchmark::kMillisecond);
