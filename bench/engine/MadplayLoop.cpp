#include "bench/engine/MadplayLoop.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mad.h>
#include <vector>

namespace bench::engine {

namespace {

struct Dither {
    mad_fixed_t error[3] {};
    mad_fixed_t random = 0;
};

std::uint32_t prng(std::uint32_t state)
{
    return state * 0x0019660dU + 0x3c6ef35fU;
}

// madplay's audio_linear_dither to 16 bits.
std::int32_t dither_16(mad_fixed_t sample, Dither& dither)
{
    constexpr int scale_bits = MAD_F_FRACBITS + 1 - 16;
    constexpr mad_fixed_t mask = (mad_fixed_t(1) << scale_bits) - 1;
    constexpr mad_fixed_t low = -MAD_F_ONE, high = MAD_F_ONE - 1;
    sample += dither.error[0] - dither.error[1] + dither.error[2];
    dither.error[2] = dither.error[1];
    dither.error[1] = dither.error[0] / 2;
    mad_fixed_t output = sample + (mad_fixed_t(1) << (scale_bits - 1));
    const auto random = static_cast<mad_fixed_t>(prng(static_cast<std::uint32_t>(dither.random)));
    output += (random & mask) - (dither.random & mask);
    dither.random = random;
    if (output > high) {
        output = high;
        if (sample > high)
            sample = high;
    } else if (output < low) {
        output = low;
        if (sample < low)
            sample = low;
    }
    output &= ~mask;
    dither.error[0] = sample - output;
    return output >> scale_bits;
}

}

std::size_t madplay_decode(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return 0;
    constexpr std::size_t piece = 40000;
    std::vector<unsigned char> buffer(piece + MAD_BUFFER_GUARD);
    std::vector<unsigned char> pcm(2 * 2 * 1152);
    mad_stream stream;
    mad_frame frame;
    mad_synth synth;
    mad_stream_init(&stream);
    mad_frame_init(&frame);
    mad_synth_init(&synth);
    Dither dither[2];
    std::size_t total = 0;
    bool at_end = false;
    while (!at_end) {
        // Keep what the stream has not used, then fill up, as madplay does.
        std::size_t kept = 0;
        if (stream.next_frame) {
            kept = std::size_t(stream.bufend - stream.next_frame);
            std::memmove(buffer.data(), stream.next_frame, kept);
        }
        std::size_t got = std::fread(buffer.data() + kept, 1, piece - kept, file);
        if (got < piece - kept) {
            at_end = true;
            std::memset(buffer.data() + kept + got, 0, MAD_BUFFER_GUARD);
            got += MAD_BUFFER_GUARD;
        }
        mad_stream_buffer(&stream, buffer.data(), kept + got);
        for (;;) {
            if (mad_frame_decode(&frame, &stream) != 0) {
                if (MAD_RECOVERABLE(stream.error))
                    continue;
                break;
            }
            mad_synth_frame(&synth, &frame);
            const mad_pcm& out = synth.pcm;
            unsigned char* at = pcm.data();
            for (unsigned i = 0; i < out.length; ++i) {
                for (unsigned c = 0; c < out.channels; ++c) {
                    const std::int32_t v = dither_16(out.samples[c][i], dither[c]);
                    *at++ = static_cast<unsigned char>(v);
                    *at++ = static_cast<unsigned char>(v >> 8);
                }
            }
            benchmark::DoNotOptimize(pcm.data());
            total += std::size_t(at - pcm.data());
        }
    }
    mad_synth_finish(&synth);
    mad_frame_finish(&frame);
    mad_stream_finish(&stream);
    std::fclose(file);
    return total;
}

}
