// Our MP3 encoder against shine (fixed point, no psychoacoustic model: the closest design) and
// LAME at the lame program's default quality and at -q 7, all through their libraries in this
// process, on the same 60 s of speech, music and noise: speed as ours / theirs over five
// interleaved rounds (median and range), and the SNR of each decoded result over the full
// band and below 5.5 kHz, where speech carries its meaning.
#include "bench/support/Compare.h"
#include "bench/support/Mp3Encoders.h"
#include "mp3enc/Encoder.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mpg123.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

bool run(const std::string& command)
{
    return std::system(command.c_str()) == 0;
}

// A scratch folder for the inputs and the encoded files, removed at exit.
struct ScratchDir {
    std::string path;

    ScratchDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvanta-bench-XXXXXX").string();
        const char* made = mkdtemp(pattern.data());
        path = made ? made : "";
    }

    ~ScratchDir()
    {
        if (!path.empty())
            run("rm -rf '" + path + "'");
    }
};

std::string temp_dir()
{
    static ScratchDir dir;
    return dir.path;
}

bool have(const std::string& tool)
{
    return run("command -v " + tool + " >/dev/null 2>&1");
}

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<int16_t> read_pcm(const std::string& path)
{
    const std::string bytes = read_file(path);
    std::vector<int16_t> pcm(bytes.size() / 2);
    std::memcpy(pcm.data(), bytes.data(), pcm.size() * 2);
    return pcm;
}

struct Input {
    std::string name;
    int32_t rate = 0;
    int32_t channels = 0;
    int32_t kbps = 0;
    std::string wav;
    std::vector<int16_t> pcm; // interleaved
};

enum class Kind { speech, music, noise };

// 60 s of speech from espeak-ng, mono 22.05 kHz; 60 s of a synthetic band (plucked chords,
// bass, a noise hat) in stereo at 44.1 kHz; 60 s of pink noise in stereo, which leaves no
// masking to lean on. sox makes its noise the same in every run (-R).
Input make_input(Kind kind)
{
    Input in;
    const std::string dir = temp_dir();
    if (kind == Kind::speech) {
        in = { "speech mono 22.05 kHz 32 kbit/s", 22050, 1, 32, dir + "/speech.wav", {} };
        const std::string text
            = "Recording notes on the train home. The meeting moved to Thursday at half past "
              "nine; bring the budget figures and the draft of the contract. Call the garage "
              "about the brakes, and buy bread, milk, apples and coffee on the way. ";
        run("espeak-ng -s 150 -w " + dir + "/one.wav \"" + text + text + "\" >/dev/null 2>&1");
        run("sox " + dir + "/one.wav -r 22050 -c 1 -b 16 " + dir + "/loop.wav repeat 9 2>/dev/null");
        run("sox " + dir + "/loop.wav " + in.wav + " trim 0 60 2>/dev/null");
    } else if (kind == Kind::music) {
        in = { "music stereo 44.1 kHz 128 kbit/s", 44100, 2, 128, dir + "/music.wav", {} };
        run("sox -R -n -r 44100 -c 2 -b 16 " + dir
            + "/chord.wav synth 2 pluck C3 pluck E4 pluck G4 pluck C5 "
              "remix 1,3 2,4 reverb 40 2>/dev/null");
        run("sox -R -n -r 44100 -c 2 -b 16 " + dir
            + "/hat.wav synth 0.25 whitenoise fade 0 0.25 0.2 "
              "highpass 6000 vol 0.2 repeat 7 2>/dev/null");
        run("sox -R -m " + dir + "/chord.wav " + dir + "/hat.wav " + dir + "/bar.wav 2>/dev/null");
        run("sox -R " + dir + "/bar.wav " + in.wav + " repeat 29 norm -3 trim 0 60 2>/dev/null");
    } else {
        in = { "pink noise stereo 44.1 kHz 128 kbit/s", 44100, 2, 128, dir + "/noise.wav", {} };
        run("sox -R -n -r 44100 -c 2 -b 16 " + in.wav + " synth 60 pinknoise vol 0.5 2>/dev/null");
    }
    run("sox " + in.wav + " -t raw -b 16 -e signed " + in.wav + ".raw 2>/dev/null");
    in.pcm = read_pcm(in.wav + ".raw");
    return in;
}

// Our encoder, driven as the recorder drives it: one frame of samples per call.
std::string encode_ours(const Input& in, int32_t* lowpass_hz)
{
    mp3enc::Params* p = mp3enc::create(in.rate, in.channels, in.kbps);
    if (!p)
        return {};
    *lowpass_hz = p->lowpass_hz;
    const size_t n = size_t(p->frame_size);
    const size_t ch = size_t(in.channels);
    std::vector<int16_t> left(n), right(n);
    std::vector<uint8_t> out(mp3enc::max_flush_bytes);
    std::string mp3;
    const size_t frames = in.pcm.size() / ch;
    for (size_t at = 0; at < frames; at += n) {
        for (size_t i = 0; i < n; ++i) {
            const bool inside = at + i < frames;
            left[i] = inside ? in.pcm[(at + i) * ch] : 0;
            right[i] = inside ? in.pcm[(at + i) * ch + ch - 1] : 0;
        }
        const int32_t bytes = mp3enc::encode(p, left.data(), right.data(), int32_t(n), out.data(), 2500);
        if (bytes > 0)
            mp3.append(reinterpret_cast<char*>(out.data()), size_t(bytes));
    }
    const int32_t bytes = mp3enc::flush(p, out.data(), int32_t(out.size()));
    if (bytes > 0)
        mp3.append(reinterpret_cast<char*>(out.data()), size_t(bytes));
    mp3enc::destroy(p);
    return mp3;
}

// The stream decoded by libmpg123 at the input's rate and channels.
std::vector<int16_t> decode(const std::string& mp3, const Input& in)
{
    std::vector<int16_t> pcm;
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    if (!handle)
        return pcm;
    mpg123_format_none(handle);
    mpg123_format(handle, in.rate, in.channels == 2 ? MPG123_STEREO : MPG123_MONO, MPG123_ENC_SIGNED_16);
    mpg123_open_feed(handle);
    mpg123_feed(handle, reinterpret_cast<const unsigned char*>(mp3.data()), mp3.size());
    std::vector<unsigned char> buffer(65536);
    for (;;) {
        size_t got = 0;
        const int result = mpg123_read(handle, buffer.data(), buffer.size(), &got);
        const auto* samples = reinterpret_cast<const int16_t*>(buffer.data());
        pcm.insert(pcm.end(), samples, samples + got / 2);
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT)
            break;
    }
    mpg123_delete(handle);
    return pcm;
}

void fft(std::vector<std::complex<double>>& a)
{
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> w = std::polar(1.0, -2 * M_PI / double(len));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> wn = 1;
            for (size_t k = 0; k < len / 2; ++k, wn *= w) {
                const auto u = a[i + k], v = a[i + k + len / 2] * wn;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
            }
        }
    }
}

// The decoder's delay against the input, by cross-correlation of channel 0 over 2 s.
int32_t delay_of(const std::vector<int16_t>& in, const std::vector<int16_t>& out, int32_t channels)
{
    const size_t ch = size_t(channels);
    const size_t start = 5 * 22050, span = 2 * 22050;
    double best = -1e300;
    int32_t best_delay = 0;
    for (int32_t d = 0; d < 4000; ++d) {
        double sum = 0;
        for (size_t i = start; i < start + span && (i + size_t(d)) * ch < out.size(); ++i)
            sum += double(in[i * ch]) * out[(i + size_t(d)) * ch];
        if (sum > best) {
            best = sum;
            best_delay = d;
        }
    }
    return best_delay;
}

// Signal to error power below edge_hz, over Hann-windowed blocks of every channel.
double snr_db(const Input& in, const std::vector<int16_t>& out, int32_t edge_hz)
{
    const size_t ch = size_t(in.channels);
    const int32_t delay = delay_of(in.pcm, out, in.channels);
    const size_t block = 4096;
    const size_t top = size_t(double(edge_hz) / in.rate * block);
    const size_t frames = std::min(in.pcm.size() / ch, out.size() / ch - size_t(delay));
    double signal = 0, error = 0;
    std::vector<std::complex<double>> x(block), e(block);
    for (size_t c = 0; c < ch; ++c) {
        for (size_t at = block; at + block < frames; at += block) {
            for (size_t i = 0; i < block; ++i) {
                const double w = 0.5 - 0.5 * std::cos(2 * M_PI * double(i) / block);
                const double a = in.pcm[(at + i) * ch + c];
                const double b = out[(at + i + size_t(delay)) * ch + c];
                x[i] = w * a;
                e[i] = w * (b - a);
            }
            fft(x);
            fft(e);
            for (size_t k = 1; k < top; ++k) {
                signal += std::norm(x[k]);
                error += std::norm(e[k]);
            }
        }
    }
    return 10 * std::log10(signal / std::max(error, 1e-9));
}

void compare(benchmark::State& state, Kind kind)
{
    if (!have("sox") || (kind == Kind::speech && !have("espeak-ng"))) {
        state.SkipWithError("needs sox and espeak-ng");
        return;
    }
#if MPG123_API_VERSION < 46
    mpg123_init();
#endif
    const Input in = make_input(kind);
    int32_t lowpass_hz = 0;
    std::string ours, shine, lame, lame_q7;
    bench::compare(
        state, 60, [&] { ours = encode_ours(in, &lowpass_hz); },
        { { "shine", [&] { shine = bench::encode_shine(in.pcm, in.rate, in.channels, in.kbps); } },
            { "lame", [&] { lame = bench::encode_lame(in.pcm, in.rate, in.channels, in.kbps, 3); } },
            { "lame_q7", [&] { lame_q7 = bench::encode_lame(in.pcm, in.rate, in.channels, in.kbps, 7); } } },
        5);

    const struct {
        const char* name;
        const std::string& mp3;
    } results[] = { { "ours", ours }, { "shine", shine }, { "lame", lame }, { "lame_q7", lame_q7 } };

    std::printf("%s, SNR full band / below 5.5 kHz:", in.name.c_str());
    for (const auto& result : results) {
        const std::vector<int16_t> decoded = decode(result.mp3, in);
        const double full = snr_db(in, decoded, in.rate / 2);
        const double speech = snr_db(in, decoded, 5500);
        state.counters[std::string("snr_") + result.name + "_dB"] = full;
        state.counters[std::string("snr_5k5_") + result.name + "_dB"] = speech;
        std::printf(" %s %.2f / %.2f dB", result.name, full, speech);
    }
    std::printf("\n");
    state.counters["lowpass_Hz"] = lowpass_hz;
}

void BM_Mp3Speech(benchmark::State& state)
{
    compare(state, Kind::speech);
}

void BM_Mp3Music(benchmark::State& state)
{
    compare(state, Kind::music);
}

void BM_Mp3Noise(benchmark::State& state)
{
    compare(state, Kind::noise);
}
}

BENCHMARK(BM_Mp3Speech)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mp3Music)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mp3Noise)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
