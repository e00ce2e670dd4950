#include "audio/codecs/DecoderMP3.h"
#include "audio/readers/FileReaderMP3.h"
#include "bench/engine/MadplayLoop.h"
#include "bench/support/Compare.h"
#include "bench/support/Av.h"
#include "bench/support/ReadToEnd.h"
#include "bench/support/Reference.h"
#include "platform/core/Utf8.h"

#include <mpg123.h>

namespace {

constexpr double seconds = 60;

// Tone on the left, pink noise on the right, at 128 kbit/s by lame.
std::string input()
{
    std::string wav = bench::generated_input("60s_tone_noise.wav",
        { "sox", "-R", "-n", "-r", "44100", "-c", "2", "-b", "16", "%o", "synth", "60", "sine", "440",
            "pinknoise", "vol", "0.5" });
    if (wav.empty())
        return {};
    return bench::generated_input("60s_128k.mp3", { "lame", "--quiet", "-b", "128", wav, "%o" });
}

// libmpg123 to 16-bit samples, as mpg123 -s plays a file.
std::size_t decode_mpg123(const std::string& path)
{
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    std::size_t total = 0;
    if (handle && mpg123_open(handle, path.c_str()) == MPG123_OK) {
        static thread_local std::vector<unsigned char> buffer(65536);
        for (;;) {
            std::size_t got = 0;
            const int result = mpg123_read(handle, buffer.data(), buffer.size(), &got);
            total += got;
            if (result != MPG123_OK && result != MPG123_NEW_FORMAT)
                break;
        }
        mpg123_close(handle);
    }
    mpg123_delete(handle);
    return total;
}

// Reads and decodes a 60 s 44.1 kHz stereo file to the end in the player's
// 16384-frame requests: what playing an MP3 costs before the filters. The
// like-for-like figure is madplay's loop over the same libmad; mpg123 and
// FFmpeg are other decoders.
void Mp3Decode(benchmark::State& state)
{
    std::string path = input();
    if (path.empty()) {
        state.SkipWithError("cannot make the input with sox and lame");
        return;
    }
#if MPG123_API_VERSION < 46
    mpg123_init();
#endif
    std::size_t total = 0;
    bench::compare(state, seconds,
        [&] { total += bench::decode_to_end<audio::FileReaderMP3, audio::DecoderMP3>(path); },
        { { "madplay", [&] { total += bench::engine::madplay_decode(path); } },
            { "mpg123", [&] { total += decode_mpg123(path); } },
            { "ffmpeg", [&] { total += bench::av::decode_file(path, "mp3"); } } });
    benchmark::DoNotOptimize(total);
}

}

BENCHMARK(Mp3Decode)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
