#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The independent decoders the encoder's output is checked with.
namespace verify {

struct Decoded {
    std::vector<int16_t> samples; // interleaved
    int32_t channels = 0;
    int32_t rate = 0;
    int32_t frames = 0;
    std::vector<std::string> errors;
};

// libmad, in process: every error it reports, recoverable or not, is kept.
Decoded decode_with_mad(const std::string& mp3);

// mpg123 in test mode without resync, and ffmpeg with strict error detection: what they print
// about the stream, empty when it decodes cleanly. Skipped tools give "".
std::string mpg123_complaints(const std::string& path);
std::string ffmpeg_complaints(const std::string& path);

// Encodes interleaved 16-bit PCM with the encoder's entry points as the recorder drives them,
// one frame per call; empty when creation fails.
std::string encode(const std::vector<int16_t>& pcm, int32_t rate, int32_t channels, int32_t kbps);

// Input signals at full-scale fraction amplitude.
std::vector<int16_t> sine(int32_t rate, int32_t channels, double seconds, double hz, double amplitude);
std::vector<int16_t> sweep(int32_t rate, int32_t channels, double seconds, double amplitude);
std::vector<int16_t> noise(int32_t rate, int32_t channels, double seconds, double amplitude, uint32_t seed);
// Spoken by espeak-ng and converted by sox; empty when either is missing.
std::vector<int16_t> speech(int32_t rate, int32_t channels);

// The delay of b against a that best aligns them (cross-correlation of channel 0).
int32_t best_delay(
    const std::vector<int16_t>& a, const std::vector<int16_t>& b, int32_t channels, int32_t max_delay);

// RMS level in dB of channel 0 of interleaved samples over [from, to) sample frames.
double rms_db(const std::vector<int16_t>& samples, int32_t channels, size_t from, size_t to);

}
