// Our MP3 encoder against shine (fixed point, no psychoacoustic model: the closest design) and
// LAME, on the same 60 s inputs in the same run: speed as a ratio of encoding times, and the SNR
// of each decoded result below our lowpass edge.
#include "mp3enc/Encoder.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

bool run(const std::string& command)
{
    return std::system(command.c_str()) == 0;
}

// A scratch folder for the inputs and the encoded files, removed at exit.
struct ScratchDir {
    std::string path;

    ScratchDir()
    {
        char pattern[] = "/tmp/orvanta-bench-XXXXXX";
        const char* made = mkdtemp(pattern);
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

// 60 s of speech from espeak-ng, mono 22.05 kHz; 60 s of a synthetic band (plucked chords,
// bass, a noise hat) in stereo at 44.1 kHz, both made with sox.
Input make_input(bool speech)
{
    Input in;
    const std::string dir = temp_dir();
    if (speech) {
        in = { "speech mono 22.05 kHz 32 kbit/s", 22050, 1, 32, dir + "/speech.wav", {} };
        const std::string text
            = "Recording notes on the train home. The meeting moved to Thursday at half past "
              "nine; bring the budget figures and the draft of the contract. Call the garage "
              "about the brakes, and buy bread, milk, apples and coffee on the way. ";
        run("espeak-ng -s 150 -w " + dir + "/one.wav \"" + text + text + "\" >/dev/null 2>&1");
        run("sox " + dir + "/one.wav -r 22050 -c 1 -b 16 " + dir + "/loop.wav repeat 9 2>/dev/null");
        run("sox " + dir + "/loop.wav " + in.wav + " trim 0 60 2>/dev/null");
    } else {
        in = { "music stereo 44.1 kHz 128 kbit/s", 44100, 2, 128, dir + "/music.wav", {} };
        run("sox -n -r 44100 -c 2 -b 16 " + dir
            + "/chord.wav synth 2 pluck C3 pluck E4 pluck G4 pluck C5 "
              "remix 1,3 2,4 reverb 40 2>/dev/null");
        run("sox -n -r 44100 -c 2 -b 16 " + dir
            + "/hat.wav synth 0.25 whitenoise fade 0 0.25 0.2 "
              "highpass 6000 vol 0.2 repeat 7 2>/dev/null");
        run("sox -m " + dir + "/chord.wav " + dir + "/hat.wav " + dir + "/bar.wav 2>/dev/null");
        run("sox " + dir + "/bar.wav " + in.wav + " repeat 29 norm -3 trim 0 60 2>/dev/null");
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

std::vector<int16_t> decode(const std::string& mp3_path, const Input& in)
{
    const std::string raw = mp3_path + ".raw";
    run("ffmpeg -nostdin -v error -y -i " + mp3_path + " -f s16le -ac " + std::to_string(in.channels)
        + " -ar " + std::to_string(in.rate) + " " + raw);
    return read_pcm(raw);
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

struct Result {
    double seconds = 1e300;
    double snr = 0;
};

void compare(benchmark::State& state, bool speech)
{
    if (!have("sox") || !have("ffmpeg") || !have("shineenc") || !have("lame")
        || (speech && !have("espeak-ng"))) {
        state.SkipWithError("needs sox, ffmpeg, shineenc, lame and espeak-ng");
        return;
    }
    const Input in = make_input(speech);
    const std::string dir = temp_dir();
    const std::string kbps = std::to_string(in.kbps);
    Result ours, shine, lame;
    int32_t lowpass_hz = 0;
    std::string mp3;
    for (auto _ : state) {
        auto t0 = Clock::now();
        mp3 = encode_ours(in, &lowpass_hz);
        auto t1 = Clock::now();
        run("shineenc -q -b " + kbps + (in.channels == 2 ? " -j " : " ") + in.wav + " " + dir + "/shine.mp3");
        auto t2 = Clock::now();
        run("lame --quiet --cbr -b " + kbps + " " + in.wav + " " + dir + "/lame.mp3");
        auto t3 = Clock::now();
        ours.seconds = std::min(ours.seconds, std::chrono::duration<double>(t1 - t0).count());
        shine.seconds = std::min(shine.seconds, std::chrono::duration<double>(t2 - t1).count());
        lame.seconds = std::min(lame.seconds, std::chrono::duration<double>(t3 - t2).count());
    }
    std::ofstream(dir + "/ours.mp3", std::ios::binary) << mp3;
    ours.snr = snr_db(in, decode(dir + "/ours.mp3", in), lowpass_hz);
    shine.snr = snr_db(in, decode(dir + "/shine.mp3", in), lowpass_hz);
    lame.snr = snr_db(in, decode(dir + "/lame.mp3", in), lowpass_hz);

    state.counters["speed_vs_shine"] = shine.seconds / ours.seconds;
    state.counters["speed_vs_lame"] = lame.seconds / ours.seconds;
    state.counters["snr_ours_dB"] = ours.snr;
    state.counters["snr_shine_dB"] = shine.snr;
    state.counters["snr_lame_dB"] = lame.snr;
    state.counters["lowpass_Hz"] = lowpass_hz;
    std::printf(
        "%s: ours %.3f s, shine %.3f s (ours %.2fx as fast), lame %.3f s (%.2fx); SNR below %d Hz: ours "
        "%.2f dB, shine %.2f dB, lame %.2f dB\n",
        in.name.c_str(), ours.seconds, shine.seconds, shine.seconds / ours.seconds, lame.seconds,
        lame.seconds / ours.seconds, lowpass_hz, ours.snr, shine.snr, lame.snr);
}

void BM_Mp3Speech(benchmark::State& state)
{
    compare(state, true);
}

void BM_Mp3Music(benchmark::State& state)
{
    compare(state, false);
}

}

BENCHMARK(BM_Mp3Speech)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mp3Music)->Iterations(3)->Unit(benchmark::kMillisecond);
