#include "mp3enc/Filterbank.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace mp3enc {

namespace {

// The standard's analysis window C[i] for i = 0..256, in units of 2^-21 (32 x C[i] x 65536, which
// is exact: every value is a whole multiple). The rest follows from C[512 - i] = -C[i], except at
// multiples of 64, where C[512 - i] = C[i].
// clang-format off
constexpr int32_t window_half[257] = {
    0, -1, -1, -1, -1, -1, -1, -2, -2, -2, -2, -3,
    -3, -4, -4, -5, -5, -6, -7, -7, -8, -9, -10, -11,
    -13, -14, -16, -17, -19, -21, -24, -26, -29, -31, -35, -38,
    -41, -45, -49, -53, -58, -63, -68, -73, -79, -85, -91, -97,
    -104, -111, -117, -125, -132, -139, -147, -154, -161, -169, -176, -183,
    -190, -196, -202, -208, 213, 218, 222, 225, 227, 228, 228, 227,
    224, 221, 215, 208, 200, 189, 177, 163, 146, 127, 106, 83,
    57, 29, -2, -36, -72, -111, -153, -197, -244, -294, -347, -401,
    -459, -519, -581, -645, -711, -779, -848, -919, -991, -1064, -1137, -1210,
    -1283, -1356, -1428, -1498, -1567, -1634, -1698, -1759, -1817, -1870, -1919, -1962,
    -2001, -2032, -2057, -2075, -2085, -2087, -2080, -2063, 2037, 2000, 1952, 1893,
    1822, 1739, 1644, 1535, 1414, 1280, 1131, 970, 794, 605, 402, 185,
    -45, -288, -545, -814, -1095, -1388, -1692, -2006, -2330, -2663, -3004, -3351,
    -3705, -4063, -4425, -4788, -5153, -5517, -5879, -6237, -6589, -6935, -7271, -7597,
    -7910, -8209, -8491, -8755, -8998, -9219, -9416, -9585, -9727, -9838, -9916, -9959,
    -9966, -9935, -9863, -9750, -9592, -9389, -9139, -8840, -8492, -8092, -7640, -7134,
    6574, 5959, 5288, 4561, 3776, 2935, 2037, 1082, 70, -998, -2122, -3300,
    -4533, -5818, -7154, -8540, -9975, -11455, -12980, -14548, -16155, -17799, -19478, -21189,
    -22929, -24694, -26482, -28289, -30112, -31947, -33791, -35640, -37489, -39336, -41176, -43006,
    -44821, -46617, -48390, -50137, -51853, -53534, -55178, -56778, -58333, -59838, -61289, -62684,
    -64019, -65290, -66494, -67629, -68692, -69679, -70590, -71420, -72169, -72835, -73415, -73908,
    -74313, -74630, -74856, -74992, 75038,
};
// clang-format on

// Fraction bits of the constants. Each is chosen so that no product of a constant with the
// largest value the input can drive into it leaves 64 bits.
constexpr int matrix_bits = 28; // cosines of the polyphase matrix
constexpr int mdct_window_bits = 28; // the long-block window
constexpr int mdct_bits = 30; // cosine x 1/9
constexpr int alias_bits = 26; // butterfly coefficients

struct Tables {
    int32_t window[512]; // units of 2^-21
    int64_t matrix_cos[17][16]; // [m][i] cos((2i + 1) m pi / 64)
    int64_t matrix_sin[16][16]; // [m][i] sin((2i + 1) m pi / 64), m >= 1
    int64_t mdct_window[36];
    int64_t mdct[18][18]; // [line][folded input]
    int64_t cs[8];
    int64_t ca[8];
};

int64_t fixed(double value, int bits)
{
    return std::llround(std::ldexp(value, bits));
}

Tables build_tables()
{
    constexpr double pi = std::numbers::pi;
    Tables t {};
    for (int i = 0; i <= 256; ++i)
        t.window[i] = window_half[i];
    for (int i = 257; i < 512; ++i)
        t.window[i] = i % 64 == 0 ? window_half[512 - i] : -window_half[512 - i];
    for (int m = 0; m <= 16; ++m) {
        for (int i = 0; i < 16; ++i) {
            t.matrix_cos[m][i] = fixed(std::cos((2 * i + 1) * m * pi / 64), matrix_bits);
            if (m >= 1 && m < 16)
                t.matrix_sin[m][i] = fixed(std::sin((2 * i + 1) * m * pi / 64), matrix_bits);
        }
    }
    // The decoder's inverse transform with overlap-add returns 9 times what goes in, so the
    // forward transform carries 1/9.
    for (int k = 0; k < 36; ++k)
        t.mdct_window[k] = fixed(std::sin(pi / 36 * (k + 0.5)), mdct_window_bits);
    for (int i = 0; i < 18; ++i) {
        for (int k = 0; k < 18; ++k) {
            const int n = k < 9 ? k : k + 9; // inputs 0..8 and 18..26 carry their partners
            t.mdct[i][k] = fixed(std::cos(pi / 72 * (2 * n + 19) * (2 * i + 1)) / 9, mdct_bits);
        }
    }
    constexpr double c[8] = { -0.6, -0.535, -0.33, -0.185, -0.095, -0.041, -0.0142, -0.0037 };
    for (int i = 0; i < 8; ++i) {
        const double norm = std::sqrt(1 + c[i] * c[i]);
        t.cs[i] = fixed(1 / norm, alias_bits);
        t.ca[i] = fixed(c[i] / norm, alias_bits);
    }
    return t;
}

const Tables& tables()
{
    static const Tables t = build_tables();
    return t;
}

// 32 subband values, Q32, from the 512 samples at x (x[511] the newest).
void polyphase(const Tables& t, const int16_t* x, int64_t* out)
{
    int64_t y[64];
    for (int k = 0; k < 64; ++k) {
        int64_t sum = 0;
        for (int j = 0; j < 8; ++j)
            sum += int64_t(t.window[k + 64 * j]) * x[511 - k - 64 * j];
        y[k] = sum;
    }
    // The matrix cos((2i + 1)(k - 16) pi / 64) folded around k = 16 and k = 48, and its rows i
    // and 31 - i taken together from the even and odd terms.
    int64_t a[17];
    a[0] = y[16];
    for (int m = 1; m < 16; ++m)
        a[m] = y[16 + m] + y[16 - m];
    a[16] = y[32] + y[0];
    int64_t b[16];
    b[0] = 0;
    for (int m = 1; m < 16; ++m)
        b[m] = y[48 - m] - y[48 + m];

    constexpr int shift = matrix_bits + 4; // y carries 2^36, the result 2^32
    for (int i = 0; i < 16; ++i) {
        int64_t even_a = 0, odd_a = 0, even_b = 0, odd_b = 0;
        for (int m = 0; m <= 16; m += 2)
            even_a += (a[m] * t.matrix_cos[m][i]) >> shift;
        for (int m = 1; m < 16; m += 2)
            odd_a += (a[m] * t.matrix_cos[m][i]) >> shift;
        for (int m = 2; m < 16; m += 2)
            even_b += (b[m] * t.matrix_sin[m][i]) >> shift;
        for (int m = 1; m < 16; m += 2)
            odd_b += (b[m] * t.matrix_sin[m][i]) >> shift;
        const int64_t sign = (i & 1) ? -1 : 1;
        out[i] = even_a + odd_a + sign * (even_b + odd_b);
        out[31 - i] = even_a - odd_a + sign * (even_b - odd_b);
    }
}

void mdct(const Tables& t, const int64_t (*previous)[subbands], const int64_t (*current)[subbands],
    int32_t band, int64_t* lines)
{
    int64_t z[36];
    for (int k = 0; k < 18; ++k) {
        z[k] = (previous[k][band] * t.mdct_window[k]) >> mdct_window_bits;
        z[k + 18] = (current[k][band] * t.mdct_window[k + 18]) >> mdct_window_bits;
    }
    // The cosine of input 17 - k is minus that of k, and of 53 - k the same as of k, so 36 inputs
    // fold into 18.
    int64_t folded[18];
    for (int k = 0; k < 9; ++k) {
        folded[k] = z[k] - z[17 - k];
        folded[k + 9] = z[k + 18] + z[35 - k];
    }
    for (int i = 0; i < 18; ++i) {
        int64_t sum = 0;
        for (int k = 0; k < 18; ++k)
            sum += (folded[k] * t.mdct[i][k]) >> mdct_bits;
        lines[i] = sum;
    }
}

void reduce_aliasing(const Tables& t, int64_t* lines, int32_t bands)
{
    for (int32_t band = 1; band < bands; ++band) {
        int64_t* low = lines + 18 * band - 1;
        int64_t* high = lines + 18 * band;
        for (int i = 0; i < 8; ++i) {
            const int64_t a = low[-i];
            const int64_t b = high[i];
            low[-i] = ((a * t.cs[i]) >> alias_bits) + ((b * t.ca[i]) >> alias_bits);
            high[i] = ((b * t.cs[i]) >> alias_bits) - ((a * t.ca[i]) >> alias_bits);
        }
    }
}

}

void design_lowpass(State& state)
{
    for (auto& gain : state.lowpass_gain)
        gain = 16384;
    for (auto& gain : state.highpass_gain)
        gain = 16384;
    state.lowpass_band = subbands;
    if (state.lowpass1 > 0) {
        for (int32_t band = 0; band < subbands; ++band) {
            if (band / 31.0 >= state.lowpass1) {
                state.lowpass_band = band;
                break;
            }
        }
    }
    // Both edges of the transition zone fall on the cut: the zone is empty, the cut is hard at a
    // subband boundary.
    state.lowpass_start = state.lowpass_end = state.lowpass_band;
}

void analyse_frame(State& state, const int16_t* const input[2])
{
    const Tables& t = tables();
    const int32_t bands = state.lowpass_band;
    for (int32_t ch = 0; ch < state.out_channels; ++ch) {
        for (int32_t gr = 0; gr < state.granules; ++gr) {
            // Rows alternate, so a granule's predecessor is always the other row.
            const int32_t row = (gr + state.granules) % 2;
            auto& current = state.subband[ch][row];
            const auto& previous = state.subband[ch][1 - row];
            const int16_t* x = input[ch] + filterbank_offset + granule_lines * gr;
            for (int32_t slot = 0; slot < slots_per_granule; ++slot) {
                polyphase(t, x + 32 * slot, current[slot]);
                // Odd subbands of odd slots are inverted so the transform sees them in order.
                if (slot & 1) {
                    for (int32_t sb = 1; sb < subbands; sb += 2)
                        current[slot][sb] = -current[slot][sb];
                }
            }
            for (int32_t sb = state.lowpass_start; sb < state.lowpass_end; ++sb) {
                for (auto& slot : current)
                    slot[sb] = (slot[sb] * state.lowpass_gain[sb]) >> 14;
            }
            if (state.side.granule[gr][ch].block_type == 2)
                continue;
            int64_t* lines = state.spectrum[gr][ch];
            for (int32_t band = 0; band < subbands; ++band) {
                if (band < bands)
                    mdct(t, previous, current, band, lines + 18 * band);
                else
                    std::fill_n(lines + 18 * band, 18, 0);
            }
            reduce_aliasing(t, lines, bands);
        }
        if (state.granules == 1)
            std::copy_n(
                &state.subband[ch][1][0][0], slots_per_granule * subbands, &state.subband[ch][0][0][0]);
    }
}

}
