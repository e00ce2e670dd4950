#include "audio/codecs/DecoderADPCM.h"
#include "audio/codecs/DecoderGSM.h"
#include "audio/codecs/EncoderADPCM.h"
#include "audio/codecs/EncoderGSM.h"
#include "audio/readers/FileReaderWAVADPCM.h"
#include "audio/readers/FileReaderWAVGSM.h"
#include "audio/readers/FileReaderWAVPCM.h"
#include "audio/writers/FileWriterWAVADPCM.h"
#include "audio/writers/FileWriterWAVGSM.h"
#include "bench/support/Reference.h"
#include "platform/Utf8.h"

namespace {

constexpr double seconds = 60;
const std::vector<std::string> quiet { "ffmpeg", "-loglevel", "error", "-y" };

// 60 s of PCM in the format each codec records: 44.1 kHz stereo for ADPCM,
// 8 kHz mono for GSM.
std::string pcm_input(bool stereo)
{
    if (stereo)
        return bench::generated_input("60s_44k_stereo.wav",
            { "sox", "-n", "-r", "44100", "-c", "2", "-b", "16", "%o", "synth", "60", "pinknoise", "sine", "660",
                "vol", "0.6" });
    return bench::generated_input("60s_8k_mono.wav",
        { "sox", "-n", "-r", "8000", "-c", "1", "-b", "16", "%o", "synth", "60", "sine", "200-3000", "vol", "0.6" });
}

std::string coded_input(bool adpcm)
{
    std::string source = pcm_input(adpcm);
    if (source.empty())
        return {};
    return bench::generated_input(adpcm ? "60s_adpcm.wav" : "60s_gsm.wav",
        { "sox", source, "-e", adpcm ? "ms-adpcm" : "gsm-full-rate", "%o" });
}

std::vector<std::string> with(std::vector<std::string> head, const std::vector<std::string>& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
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

template<typename Reader, typename Decoder>
void decode_file(const std::string& path)
{
    Reader reader(platform::from_utf8(path));
    Decoder decoder;
    audio::connect(&reader, &decoder);
    for (;;) {
        audio::PCMData chunk = decoder.get_data(16384);
        if (chunk.is_empty())
            break;
        benchmark::DoNotOptimize(chunk.bytes());
    }
    audio::connect(&reader, nullptr);
}

template<typename Encoder, typename Writer>
void encode(benchmark::State& state, bool adpcm)
{
    std::string source = pcm_input(adpcm);
    if (source.empty()) {
        state.SkipWithError("cannot make the input with sox");
        return;
    }
    std::string out = source + ".ours.wav";
    double ours = bench::measure(state, [&] { encode_file<Encoder, Writer>(source, out); });
    std::string sox_out = source + ".sox.wav", ffmpeg_out = source + ".ffmpeg.wav";
    bench::report(state, ours, seconds,
        { { "sox", { "sox", source, "-e", adpcm ? "ms-adpcm" : "gsm-full-rate", sox_out } },
            { "ffmpeg", with(quiet, { "-i", source, "-c:a", adpcm ? "adpcm_ms" : "libgsm_ms", ffmpeg_out }) } });
}

template<typename Reader, typename Decoder>
void decode(benchmark::State& state, bool adpcm)
{
    std::string path = coded_input(adpcm);
    if (path.empty()) {
        state.SkipWithError("cannot make the input with sox");
        return;
    }
    double ours = bench::measure(state, [&] { decode_file<Reader, Decoder>(path); });
    std::vector<std::string> ffmpeg = quiet;
    if (!adpcm)
        ffmpeg.insert(ffmpeg.end(), { "-c:a", "libgsm_ms" });
    bench::report(state, ours, seconds,
        { { "sox", { "sox", path, "-e", "signed", "-b", "16", "-t", "raw", "-" } },
            { "ffmpeg", with(ffmpeg, { "-i", path, "-f", "s16le", "-" }) } });
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

BENCHMARK(AdpcmEncode)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(AdpcmDecode)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(GsmEncode)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(GsmDecode)->UseManualTime()->Unit(benchmark::kMillisecond);
