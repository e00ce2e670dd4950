#include "audio/codecs/DecoderMPC.h"
#include "audio/codecs/DecoderVorbis.h"
#include "audio/readers/FileReaderWMA.h"
#include "bench/support/Compare.h"
#include "bench/support/Av.h"
#include "bench/support/ReadToEnd.h"
#include "bench/support/Reference.h"
#include "platform/core/Utf8.h"

namespace {

constexpr double seconds = 60;

std::string wav_input()
{
    return bench::generated_input("60s-decoders.wav",
        { "sox", "-R", "-n", "-r", "44100", "-c", "2", "-b", "16", "%o", "synth", "60", "sine", "440", "sine",
            "660", "gain", "-3" });
}

// Decodes the whole file as the player pulls it, against FFmpeg's decoder
// for the format.
template<typename Reader>
void decode(benchmark::State& state, const std::string& path, const char* decoder)
{
    if (path.empty()) {
        state.SkipWithError("cannot make the input");
        return;
    }
    std::size_t total = 0;
    bench::compare(state, seconds,
        [&] {
            Reader reader(platform::from_utf8(path));
            total += bench::read_to_end(reader);
        },
        { { "ffmpeg", [&] { total += bench::av::decode_file(path, decoder); } } });
    benchmark::DoNotOptimize(total);
}

void VorbisDecode(benchmark::State& state)
{
    std::string wav = wav_input();
    std::string path = wav.empty() ? "" : bench::generated_input("60s.ogg", { "oggenc", "-Q", "-o", "%o", wav });
    decode<audio::DecoderVorbis>(state, path, "vorbis");
}

void MusepackDecode(benchmark::State& state)
{
    std::string wav = wav_input();
    std::string path
        = wav.empty() ? "" : bench::generated_input("60s.mpc", { "mpcenc", "--silent", "--overwrite", wav, "%o" });
    decode<audio::DecoderMPC>(state, path, nullptr);
}

void WmaDecode(benchmark::State& state)
{
    std::string wav = wav_input();
    std::string path = wav.empty() ? ""
                                   : bench::generated_input("60s.wma",
                                         { "ffmpeg", "-loglevel", "error", "-i", wav, "-c:a", "wmav2", "-b:a",
                                             "128k", "-y", "%o" });
    decode<audio::FileReaderWMA>(state, path, "wmav2");
}

}

BENCHMARK(VorbisDecode)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(MusepackDecode)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(WmaDecode)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
