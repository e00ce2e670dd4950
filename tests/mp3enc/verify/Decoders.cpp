#include "tests/mp3enc/verify/Decoders.h"

#include "mp3enc/Encoder.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mad.h>
#include <random>

namespace verify {

namespace {

int16_t to_pcm(mad_fixed_t sample)
{
    sample += 1L << (MAD_F_FRACBITS - 16);
    sample = std::clamp<mad_fixed_t>(sample, -MAD_F_ONE, MAD_F_ONE - 1);
    return int16_t(sample >> (MAD_F_FRACBITS + 1 - 16));
}

int16_t clip(double v)
{
    return int16_t(std::lround(std::clamp(v, -32768.0, 32767.0)));
}

std::string complaints(const std::string& out, const std::vector<std::string>& words)
{
    std::string found;
    size_t start = 0;
    while (start < out.size()) {
        size_t end = out.find('\n', start);
        if (end == std::string::npos)
            end = out.size();
        std::string line = out.substr(start, end - start);
        std::string lower = line;
        std::transform(
            lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        for (const std::string& w : words) {
            if (lower.find(w) != std::string::npos) {
                found += line + "\n";
                break;
            }
        }
        start = end + 1;
    }
    return found;
}

}

Decoded decode_with_mad(const std::string& mp3)
{
    Decoded result;
    std::string data = mp3;
    data.append(MAD_BUFFER_GUARD, '\0');
    mad_stream stream;
    mad_frame frame;
    mad_synth synth;
    mad_stream_init(&stream);
    mad_frame_init(&frame);
    mad_synth_init(&synth);
    mad_stream_buffer(&stream, reinterpret_cast<const unsigned char*>(data.data()), data.size());
    for (;;) {
        if (mad_frame_decode(&frame, &stream) != 0) {
            if (stream.error == MAD_ERROR_BUFLEN)
                break;
            // The guard bytes at the very end are no frame.
            if (stream.error == MAD_ERROR_LOSTSYNC && size_t(stream.this_frame - stream.buffer) >= mp3.size())
                break;
            result.errors.push_back(mad_stream_errorstr(&stream));
            if (!MAD_RECOVERABLE(stream.error))
                break;
            continue;
        }
        mad_synth_frame(&synth, &frame);
        ++result.frames;
        result.channels = synth.pcm.channels;
        result.rate = int32_t(synth.pcm.samplerate);
        for (unsigned i = 0; i < synth.pcm.length; ++i)
            for (unsigned ch = 0; ch < synth.pcm.channels; ++ch)
                result.samples.push_back(to_pcm(synth.pcm.samples[ch][i]));
    }
    mad_synth_finish(&synth);
    mad_frame_finish(&frame);
    mad_stream_finish(&stream);
    return result;
}

std::string mpg123_complaints(const std::string& path)
{
    if (!test::have_tool("mpg123"))
        return "";
    auto r = test::run_tool({ "sh", "-c", "mpg123 -t -y '" + path + "' 2>&1" });
    std::string found = complaints(r.out, { "error", "warning", "note", "illegal", "frankenstein", "can't" });
    if (r.exit_code != 0)
        found += "exit code " + std::to_string(r.exit_code) + "\n";
    return found;
}

std::string ffmpeg_complaints(const std::string& path)
{
    if (!test::have_tool("ffmpeg"))
        return "";
    auto r = test::run_tool({ "sh", "-c",
        "ffmpeg -nostdin -hide_banner -v error -err_detect +crccheck+bitstream+buffer+explode -i '" + path
            + "' -f null - 2>&1" });
    std::string found = r.out;
    if (r.exit_code != 0)
        found += "exit code " + std::to_string(r.exit_code) + "\n";
    return found;
}

std::string encode(const std::vector<int16_t>& pcm, int32_t rate, int32_t channels, int32_t kbps)
{
    mp3enc::Params* p = mp3enc::create(rate, channels, kbps);
    if (!p)
        return {};
    const size_t n = size_t(p->frame_size);
    std::vector<int16_t> left(n), right(n);
    std::vector<uint8_t> out(8000);
    std::string mp3;
    const size_t frames = pcm.size() / size_t(channels);
    for (size_t at = 0; at < frames; at += n) {
        for (size_t i = 0; i < n; ++i) {
            bool in = at + i < frames;
            left[i] = in ? pcm[(at + i) * size_t(channels)] : 0;
            right[i] = in ? pcm[(at + i) * size_t(channels) + size_t(channels - 1)] : 0;
        }
        int32_t bytes = mp3enc::encode(p, left.data(), right.data(), int32_t(n), out.data(), 2500);
        if (bytes < 0) {
            mp3enc::destroy(p);
            return {};
        }
        mp3.append(reinterpret_cast<char*>(out.data()), size_t(bytes));
    }
    int32_t bytes = mp3enc::flush(p, out.data(), int32_t(out.size()));
    mp3enc::destroy(p);
    if (bytes < 0)
        return {};
    mp3.append(reinterpret_cast<char*>(out.data()), size_t(bytes));
    return mp3;
}

std::vector<int16_t> sine(int32_t rate, int32_t channels, double seconds, double hz, double amplitude)
{
    std::vector<int16_t> pcm;
    const size_t n = size_t(seconds * rate);
    for (size_t i = 0; i < n; ++i) {
        const int16_t v = clip(amplitude * 32767 * std::sin(2 * M_PI * hz * double(i) / rate));
        for (int32_t ch = 0; ch < channels; ++ch)
            pcm.push_back(v);
    }
    return pcm;
}

std::vector<int16_t> sweep(int32_t rate, int32_t channels, double seconds, double amplitude)
{
    // Exponential from 50 Hz to just under the Nyquist frequency; the right channel a quarter
    // period behind so mid and side both carry signal.
    std::vector<int16_t> pcm;
    const size_t n = size_t(seconds * rate);
    const double f0 = 50, f1 = 0.45 * rate;
    const double k = std::log(f1 / f0) / seconds;
    for (size_t i = 0; i < n; ++i) {
        const double t = double(i) / rate;
        const double phase = 2 * M_PI * f0 * (std::exp(k * t) - 1) / k;
        pcm.push_back(clip(amplitude * 32767 * std::sin(phase)));
        if (channels == 2)
            pcm.push_back(clip(amplitude * 32767 * std::cos(phase)));
    }
    return pcm;
}

std::vector<int16_t> noise(int32_t rate, int32_t channels, double seconds, double amplitude, uint32_t seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> dist(-1, 1);
    std::vector<int16_t> pcm(size_t(seconds * rate) * size_t(channels));
    for (auto& v : pcm)
        v = clip(amplitude * 32767 * dist(random));
    return pcm;
}

std::vector<int16_t> speech(int32_t rate, int32_t channels)
{
    if (!test::have_tool("espeak-ng") || !test::have_tool("sox"))
        return {};
    test::TempDir dir;
    const std::string wav = dir.file("speech.wav");
    const std::string raw = dir.file("speech.raw");
    test::run_tool(
        { "espeak-ng", "-w", wav, "The quick brown fox jumps over the lazy dog. Seven silver bells." });
    test::run_tool({ "sox", wav, "-r", std::to_string(rate), "-c", std::to_string(channels), "-b", "16", "-e",
        "signed", "-t", "raw", raw });
    const std::string bytes = test::read_file(raw);
    std::vector<int16_t> pcm(bytes.size() / 2);
    std::memcpy(pcm.data(), bytes.data(), pcm.size() * 2);
    return pcm;
}

int32_t best_delay(
    const std::vector<int16_t>& a, const std::vector<int16_t>& b, int32_t channels, int32_t max_delay)
{
    const size_t frames = std::min(a.size(), b.size()) / size_t(channels);
    double best = -1e300;
    int32_t best_delay = 0;
    for (int32_t d = 0; d <= max_delay; ++d) {
        double sum = 0;
        for (size_t i = 0; i + size_t(d) < frames; i += 3)
            sum += double(a[i * size_t(channels)]) * double(b[(i + size_t(d)) * size_t(channels)]);
        if (sum > best) {
            best = sum;
            best_delay = d;
        }
    }
    return best_delay;
}

double rms_db(const std::vector<int16_t>& samples, int32_t channels, size_t from, size_t to)
{
    double sum = 0;
    size_t count = 0;
    for (size_t i = from; i < to && i * size_t(channels) < samples.size(); ++i, ++count)
        sum += double(samples[i * size_t(channels)]) * samples[i * size_t(channels)];
    return 10 * std::log10(sum / double(std::max<size_t>(count, 1)) + 1e-12);
}

}
