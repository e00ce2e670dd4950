#include "audio/codecs/DecoderADPCM.h"
#include "audio/codecs/DecoderGSM.h"
#include "audio/codecs/EncoderADPCM.h"
#include "audio/codecs/EncoderGSM.h"
#include "audio/readers/FileReaderWAVADPCM.h"
#include "audio/readers/FileReaderWAVGSM.h"
#include "audio/readers/FileReaderWAVPCM.h"
#include "audio/writers/FileWriterWAVADPCM.h"
#include "audio/writers/FileWriterWAVGSM.h"
#include "bench/support/Compare.h"
#include "bench/support/Av.h"
#include "bench/support/ReadToEnd.h"
#include "bench/support/Reference.h"
#include "bench/support/Sox.h"
#include "platform/core/Utf8.h"

namespace {

constexpr double seconds = 60;

// 60 s of PCM in the format each codec records: 44.1 kHz stereo for ADPCM,
// 8 kHz mono for GSM.
std::string pcm_input(bool stereo)
{
    if (stereo)
        return bench::generated_input("60s_44k_stereo.wav",
            { "sox", "-R", "-n", "-r", "44100", "-c", "2", "-b", "16", "%o", "synth", "60", "pinknoise",
                "sine", "660", "vol", "0.6" });
    return bench::generated_input("60s_8k_mono.wav",
        { "sox", "-R", "-n", "-r", "8000", "-c", "1", "-b", "16", "%o", "synth", "60", "sine", "200-3000",
            "vol", "0.6" });
}

std::string coded_input(bool adpcm)
{
    std::string source = pcm_input(adpcm);
    if (source.empty())
        return {};
    return bench::generated_input(adpcm ? "60s_adpcm.wav" : "60s_gsm.wav",
        { "sox", source, "-e", adpcm ? "ms-adpcm" : "gsm-full-rate", "%o" });
}

// Reads PCM from a file, encodes it and writes the coded file: a recording
// without the device.
template<typename Encoder, typename Writer>
void encode_file(const std::string& source, const std::string& target)
{
    audio::FileReaderWAVPCM reader(platform::from_utf8(source));
    Encoder encoder;
    Writer writer(platform::from_utf8(target));
    audio::connect(&encoder, &writer);
    for (;;) {
        audio::PCMData chunk = reader.get_data(5000);
        if (chunk.is_empty())
            break;
        encoder.on_data(chunk);
    }
    audio::connect(&encoder, nullptr);
}

// File to file on every side: SoX writes a WAV file, FFmpeg the coded packets.
// For ADPCM, SoX is the like-for-like figure: it tries every predictor on
// each block as we do, while FFmpeg's encoder codes with the first one.
template<typename Encoder, typename Writer>
void encode(benchmark::State& state, bool adpcm)
{
    std::string source = pcm_input(adpcm);
    if (source.empty()) {
        state.SkipWithError("cannot make the input with sox");
        return;
    }
    // Our ADPCM blocks at 44.1 kHz stereo are 2048 bytes, as sox's are.
    bench::compare(state, seconds, [&] { encode_file<Encoder, Writer>(source, source + ".ours.wav"); },
        { { "sox", [&] { bench::sox::convert(source, source + ".sox.wav", adpcm ? "ms-adpcm" : "gsm"); } },
            { "ffmpeg", [&] {
                 bench::av::encode_file(
                     source, source + ".ffmpeg.raw", adpcm ? "adpcm_ms" : "libgsm_ms", adpcm ? 2048 : 0);
             } } });
}

template<typename Reader, typename Decoder>
void decode(benchmark::State& state, bool adpcm)
{
    std::string path = coded_input(adpcm);
    if (path.empty()) {
        state.SkipWithError("cannot make the input with sox");
        return;
    }
    std::size_t total = 0;
    bench::compare(state, seconds, [&] { total += bench::decode_to_end<Reader, Decoder>(path); },
        { { "sox", [&] { total += bench::sox::read_to_end(path); } },
            { "ffmpeg", [&] { total += bench::av::decode_file(path, adpcm ? "adpcm_ms" : "libgsm_ms"); } } });
    benchmark::DoNotOptimize(total);
}

void AdpcmEncode(benchmark::State& state)
{
    encode<audio::EncoderADPCM, audio::FileWriterWAVADPCM>(state, true);
}

void AdpcmDecode(benchmark::State& state)
{
    decode<audio::FileReaderWAVADPCM, audio::DecoderADPCM>(state, true);
}

void GsmEncode(benchmark::State& state)
{
    encode<audio::EncoderGSM, audio::FileWriterWAVGSM>(state, false);
}

void GsmDecode(benchmark::State& state)
{
    decode<audio::FileReaderWAVGSM, audio::DecoderGSM>(state, false);
}

}

BENCHMARK(AdpcmEncode)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(AdpcmDecode)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(GsmEncode)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(GsmDecode)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
