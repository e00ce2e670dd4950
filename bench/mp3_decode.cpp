#include "audio/codecs/DecoderMP3.h"
#include "audio/readers/FileReaderMP3.h"
#include "bench/support/Reference.h"
#include "platform/Utf8.h"

namespace {

constexpr double seconds = 60;

// Tone on the left, pink noise on the right, at 128 kbit/s by lame.
std::string input()
{
    std::string wav = bench::generated_input("60s_tone_noise.wav",
        { "sox", "-n", "-r", "44100", "-c", "2", "-b", "16", "%o", "synth", "60", "sine", "440", "pinknoise",
            "vol", "0.5" });
    if (wav.empty())
        return {};
    return bench::generated_input("60s_128k.mp3", { "lame", "--quiet", "-b", "128", wav, "%o" });
}

// Reads and decodes a 60 s 44.1 kHz stereo file to the end in the player's
// 16384-frame requests: what playing an MP3 costs before the filters.
void Mp3Decode(benchmark::State& state)
{
    std::string path = input();
    if (path.empty()) {
        state.SkipWithError("cannot make the input with sox and lame");
        return;
    }
    std::size_t total = 0;
    double ours = bench::measure(state, [&] {
        audio::FileReaderMP3 reader(platform::from_utf8(path));
        audio::DecoderMP3 decoder;
        audio::connect<audio::MP3Data>(&reader, &decoder);
        for (;;) {
            audio::PCMData chunk = decoder.get_data(16384);
            if (chunk.is_empty())
                break;
            benchmark::DoNotOptimize(chunk.bytes());
            total += chunk.size();
        }
        audio::connect<audio::MP3Data>(&reader, nullptr);
    });
    benchmark::DoNotOptimize(total);
    bench::report(state, ours, seconds,
        { { "mpg123", { "mpg123", "-q", "-s", path } },
            { "madplay", { "madplay", "-q", "-o", "raw:-", path } } });
}

}

BENCHMARK(Mp3Decode)->UseManualTime()->Unit(benchmark::kMillisecond);
