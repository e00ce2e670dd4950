#include "mp3enc/Quantiser.h"

#include "mp3enc/BitCount.h"
#include "mp3enc/FrameWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace mp3enc {

namespace {

constexpr uint64_t unity = uint64_t(1) << 32;
constexpr int32_t gain_unity = 210;
constexpr uint64_t rounding = 6642; // 0.4054 in Q14
constexpr int32_t largest_gain = 255;

// The chord of each segment [4^k, 4^(k+1)): (a x + b) >> 14 meets 256 x^(3/4) in Q14 at both ends.
struct Chords {
    uint64_t a[16];
    uint64_t b[16];

    Chords()
    {
        const long double scale = std::ldexp(256.0L, 14);
        for (int k = 0; k < 16; ++k) {
            const long double lo = std::ldexp(1.0L, 2 * k);
            const long double hi = std::ldexp(1.0L, 2 * k + 2);
            const long double slope = scale * (std::pow(hi, 0.75L) - std::pow(lo, 0.75L)) / (hi - lo);
            a[k] = uint64_t(slope);
            b[k] = uint64_t(scale * std::pow(lo, 0.75L) - slope * lo);
        }
    }
};

// Built on first use and only read afterwards, so encoders on several threads share them.
const Chords& chords()
{
    static const Chords instance;
    return instance;
}

struct Steps {
    int64_t values[step_count];

    Steps()
    {
        for (int32_t g = 0; g < step_count; ++g) {
            if (g < gain_unity)
                values[g] = int64_t(std::exp2(14.0L - 0.1875L * (g - gain_unity)));
            else
                values[g] = -int64_t(std::exp2(14.0L + 0.1875L * (g - gain_unity)));
        }
    }
};

void to_mid_side(int64_t* left, int64_t* right)
{
    constexpr int64_t inverse_sqrt2 = 11585; // 2^14 / sqrt(2)
    for (int32_t i = 0; i < granule_lines; ++i) {
        const int64_t l = left[i];
        const int64_t r = right[i];
        left[i] = ((l + r) * inverse_sqrt2) >> 14;
        right[i] = ((l - r) * inverse_sqrt2) >> 14;
    }
}

}

uint64_t power_law(uint64_t magnitude)
{
    if (magnitude >= unity)
        return unity;
    const int k = magnitude < 4 ? 0 : (63 - __builtin_clzll(magnitude)) / 2;
    const Chords& c = chords();
    return (c.a[k] * magnitude + c.b[k]) >> 14;
}

const int64_t* step_table()
{
    static const Steps instance;
    return instance.values;
}

void build_step_table()
{
    step_table();
    chords();
}

void raise_lines(const int64_t* spectrum, PoweredLines& powered)
{
    powered.max = 0;
    powered.magnitude_sum = 0;
    for (int32_t i = 0; i < granule_lines; ++i) {
        const int64_t x = spectrum[i];
        powered.negative[i] = x < 0;
        const uint64_t magnitude = x < 0 ? uint64_t(0) - uint64_t(x) : uint64_t(x);
        powered.magnitude_sum += magnitude;
        powered.xrpow[i] = power_law(magnitude);
        powered.max = std::max(powered.max, powered.xrpow[i]);
    }
}

int32_t quantise_granule(State& state, const PoweredLines& powered, int32_t gain, GranuleInfo& granule)
{
    const int64_t step = step_table()[gain];
    const uint64_t* xrpow = powered.xrpow;
    int32_t* lines = granule.lines;
    if (step > 0) {
        const uint64_t multiplier = uint64_t(step);
        // Beyond 8206 a line has no code; the test also keeps x * multiplier within 64 bits.
        if (powered.max > (uint64_t(8206) << 46) / multiplier)
            return too_many_bits;
        const uint64_t threshold = uint64_t(41841255288039) / multiplier; // 0.5946 quantiser units
        for (int32_t i = 0; i < granule_lines; ++i) {
            const uint64_t x = xrpow[i];
            lines[i] = x < threshold ? 0 : int32_t((((x * multiplier) >> 32) + rounding) >> 14);
        }
    } else {
        // A divisor of at least 2^14 brings no line of at most 2^32 near the limit.
        const uint64_t divisor = uint64_t(-step);
        const uint64_t threshold = divisor * 155871;
        for (int32_t i = 0; i < granule_lines; ++i) {
            const uint64_t x = xrpow[i];
            lines[i] = x < threshold ? 0 : int32_t((((x / divisor) >> 4) + rounding) >> 14);
        }
    }
    return count_bits(state, granule);
}

void search_gain(State& state, const PoweredLines& powered, int32_t desired, int32_t& start_gain,
    int32_t& step, GranuleInfo& granule)
{
    int32_t gain = start_gain;
    int32_t bits = quantise_granule(state, powered, gain, granule);
    int32_t last_tried = gain;
    if (step != 1) {
        bool crossed = false;
        int32_t last_move = 0;
        while (bits != desired) {
            if (crossed)
                step /= 2;
            const bool up = bits > desired;
            if (!crossed && last_move != 0 && (last_move < 0) == up) {
                crossed = true;
                step /= 2;
            }
            last_move = up ? step : -step;
            last_tried = gain + last_move;
            if (last_tried > largest_gain || last_tried < 0)
                break;
            gain = last_tried;
            bits = quantise_granule(state, powered, gain, granule);
            if (step == 1)
                break;
        }
    }
    step = std::abs(last_tried - start_gain) >= 4 ? 4 : 2;
    start_gain = gain;

    while (bits > desired - granule.part2_length && gain < largest_gain)
        bits = quantise_granule(state, powered, ++gain, granule);
    granule.global_gain = gain;
    granule.part2_3_length = bits;
    for (int32_t i = 0; i < granule_lines; ++i) {
        if (powered.negative[i])
            granule.lines[i] = -granule.lines[i];
    }
}

int32_t reservoir_max(const Params& params, int32_t frame_bits)
{
    const int32_t limit = params.version == 1 ? 4088 : 2040;
    int32_t largest = 11520;
    if (params.bitrate >= 320)
        largest = 8 * int32_t(params.bitrate * 1000.0 * 1152 / params.out_rate / 8 + 0.5);
    if (frame_bits > largest || params.no_reservoir)
        return 0;
    return std::min(largest - frame_bits, limit);
}

void quantise_frame(Params& params, const FrameBudget& budget)
{
    State& s = *params.state;
    const int32_t channels = s.out_channels;
    const int32_t mean = budget.mean_bits;
    s.reservoir_max = reservoir_max(params, budget.frame_bits);
    PoweredLines powered;

    for (int32_t gr = 0; gr < s.granules; ++gr) {
        const int32_t nine_tenths = s.reservoir_max * 9 / 10;
        int32_t add = 0;
        int32_t target = mean;
        if (s.reservoir_size > nine_tenths) {
            add = s.reservoir_size - nine_tenths;
            target = mean + add;
        } else if (!params.no_reservoir) {
            target = int32_t(mean - 0.1 * mean);
        }
        const int32_t extra = std::max(0, std::min(s.reservoir_size, s.reservoir_max * 6 / 10) - add);
        const int32_t granule_max = std::min(target + extra, 4095);
        int32_t targets[2];
        for (int32_t ch = 0; ch < channels; ++ch)
            targets[ch] = std::min(4095, target / channels);

        if (s.mode_extension == 2) {
            to_mid_side(s.spectrum[gr][0], s.spectrum[gr][1]);
            // Mid and side are taken as equally loud: no bits move between them.
            const int32_t sum = targets[0] + targets[1];
            if (sum > granule_max) {
                for (int32_t& t : targets)
                    t = int32_t(int64_t(granule_max) * t / sum);
            }
        }

        for (int32_t ch = 0; ch < channels; ++ch) {
            GranuleInfo& granule = s.side.granule[gr][ch];
            granule = GranuleInfo {};
            granule.global_gain = gain_unity;
            raise_lines(s.spectrum[gr][ch], powered);
            // A silent granule keeps its zero lines at gain 210 and costs no bits.
            if (powered.magnitude_sum != 0)
                search_gain(s, powered, targets[ch], s.start_gain[ch], s.gain_step, granule);
            if (params.version == 1) {
                // Both granules' scalefactors are zero, so the second reuses the first's.
                for (int32_t& flag : s.side.scfsi[ch])
                    flag = gr == 0 ? 0 : 1;
            }
            s.reservoir_size += mean / channels - granule.part2_3_length;
        }
    }

    if (channels == 2 && mean % 2 == 1)
        s.reservoir_size += 1;
    const int32_t discard = s.reservoir_size % 8 + std::max(0, s.reservoir_size / 8 * 8 - s.reservoir_max);
    s.side.discard_bits = discard;
    s.reservoir_size -= discard;
}

}
