#include "audio/readers/FileReaderWAVPCM.h"
#include "bench/support/Compare.h"
#include "bench/support/Av.h"
#include "bench/support/ReadToEnd.h"
#include "bench/support/Reference.h"
#include "bench/support/Sox.h"
#include "platform/core/Utf8.h"

namespace {

constexpr double seconds = 60;

std::string input()
{
    return bench::generated_input("60s.wav",
        { "sox", "-R", "-n", "-r", "44100", "-c", "2", "-b", "16", "%o", "synth", "60", "sine", "440", "sine",
            "660" });
}

// Reads a 60 s 44.1 kHz stereo file to the end in the player's 16384-frame
// requests: what playing a PCM WAV costs before the filters; SoX reads its
// samples, FFmpeg its packets.
void WavPcmRead(benchmark::State& state)
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
            total += bench::read_to_end(reader);
        },
        { { "sox", [&] { total += bench::sox::read_to_end(path); } },
            { "ffmpeg", [&] { total += bench::av::read_packets(path); } } });
    benchmark::DoNotOptimize(total);
}

}

BENCHMARK(WavPcmRead)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
