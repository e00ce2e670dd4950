#include "mp3enc/Setup.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

namespace mp3enc {

namespace {

constexpr int32_t bitrates[2][15] = {
    { 0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160 },
    { 0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320 },
};

constexpr StandardRate rates[] = {
    { 8000, 0, 2 },
    { 11025, 0, 0 },
    { 12000, 0, 1 },
    { 16000, 0, 2 },
    { 22050, 0, 0 },
    { 24000, 0, 1 },
    { 32000, 1, 2 },
    { 44100, 1, 0 },
    { 48000, 1, 1 },
};

constexpr int32_t long_bounds[9][23] = {
    { 0, 12, 24, 36, 48, 60, 72, 88, 108, 132, 160, 192, 232, 280, 336, 400, 476, 566, 568, 570, 572, 574,
        576 },
    { 0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 116, 140, 168, 200, 238, 284, 336, 396, 464, 522, 576 },
    { 0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 116, 140, 168, 200, 238, 284, 336, 396, 464, 522, 576 },
    { 0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 116, 140, 168, 200, 238, 284, 336, 396, 464, 522, 576 },
    { 0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 116, 140, 168, 200, 238, 284, 336, 396, 464, 522, 576 },
    { 0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 114, 136, 162, 194, 232, 278, 332, 394, 464, 540, 576 },
    { 0, 4, 8, 12, 16, 20, 24, 30, 36, 44, 54, 66, 82, 102, 126, 156, 194, 240, 296, 364, 448, 550, 576 },
    { 0, 4, 8, 12, 16, 20, 24, 30, 36, 44, 52, 62, 74, 90, 110, 134, 162, 196, 238, 288, 342, 418, 576 },
    { 0, 4, 8, 12, 16, 20, 24, 30, 36, 42, 50, 60, 72, 88, 106, 128, 156, 190, 230, 276, 330, 384, 576 },
};

constexpr int32_t short_bounds[9][14] = {
    { 0, 8, 16, 24, 36, 52, 72, 96, 124, 160, 162, 164, 166, 192 },
    { 0, 4, 8, 12, 18, 26, 36, 48, 62, 80, 104, 134, 174, 192 },
    { 0, 4, 8, 12, 18, 26, 36, 48, 62, 80, 104, 134, 174, 192 },
    { 0, 4, 8, 12, 18, 26, 36, 48, 62, 80, 104, 134, 174, 192 },
    { 0, 4, 8, 12, 18, 24, 32, 42, 56, 74, 100, 132, 174, 192 },
    { 0, 4, 8, 12, 18, 26, 36, 48, 62, 80, 104, 136, 180, 192 },
    { 0, 4, 8, 12, 16, 22, 30, 42, 58, 78, 104, 138, 180, 192 },
    { 0, 4, 8, 12, 16, 22, 30, 40, 52, 66, 84, 106, 136, 192 },
    { 0, 4, 8, 12, 16, 22, 28, 38, 50, 64, 80, 100, 126, 192 },
};

size_t rate_row(int32_t out_rate)
{
    for (size_t i = 0; i < std::size(rates); ++i) {
        if (out_rate <= rates[i].rate)
            return i;
    }
    return std::size(rates) - 1;
}

}

StandardRate standard_rate(double wanted)
{
    for (const auto& r : rates) {
        if (wanted <= r.rate)
            return r;
    }
    return rates[std::size(rates) - 1];
}

int32_t bitrate_of_index(int32_t version, int32_t index)
{
    if (version < 0 || version > 1 || index < 1 || index > 14)
        return 0;
    return bitrates[version][index];
}

int32_t index_of_bitrate(int32_t version, int32_t kbps)
{
    for (int32_t i = 1; i <= 14; ++i) {
        if (bitrate_of_index(version, i) == kbps)
            return i;
    }
    return 0;
}

int32_t nearest_bitrate(int32_t version, double kbps)
{
    int32_t best = bitrate_of_index(version, 1);
    for (int32_t i = 2; i <= 14; ++i) {
        const int32_t b = bitrate_of_index(version, i);
        if (std::abs(b - kbps) < std::abs(best - kbps))
            best = b;
    }
    return best;
}

double optimum_bandwidth(int32_t bits_per_second, int32_t out_rate, double channel_factor)
{
    const bool stereo = channel_factor >= 2.0;
    double br;
    if (out_rate >= 32000)
        br = bits_per_second - ((stereo ? 36 : 21) * out_rate) / 144;
    else
        br = bits_per_second - ((stereo ? 21 : 13) * out_rate) / 72;
    if (stereo)
        br /= 1.75 + 0.25 * (channel_factor - 2.0);
    br *= 0.5;
    double f = br / std::log10(br * 0.004425);
    if (f > 18400)
        f = 18400 + 0.25 * (f - 18400);
    return std::min(f, out_rate / 2.0);
}

const int32_t* long_band_bounds(int32_t out_rate)
{
    return long_bounds[rate_row(out_rate)];
}

const int32_t* short_band_bounds(int32_t out_rate)
{
    return short_bounds[rate_row(out_rate)];
}

}
