// Drives the encoder with fuzzed parameters, call sizes, output bounds and samples.
#include "mp3enc/Encoder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

struct Reader {
    const uint8_t* data;
    size_t size;

    template<typename T>
    T take()
    {
        T value {};
        const size_t n = size < sizeof(T) ? size : sizeof(T);
        std::memcpy(&value, data, n);
        data += n;
        size -= n;
        return value;
    }
};

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Reader in { data, size };
    constexpr int32_t rates[]
        = { 8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000, 96000, 7000, 1000 };
    const uint8_t pick = in.take<uint8_t>();
    const int32_t rate = pick < 200 ? rates[pick % std::size(rates)] : in.take<int32_t>();
    const int32_t channels = in.take<uint8_t>() % 4;
    const int32_t kbps = in.take<uint16_t>() % 400;
    mp3enc::Params* p = mp3enc::create(rate, channels, kbps);
    if (!p)
        return 0;
    static std::vector<uint8_t> out(1 << 16);
    int16_t left[mp3enc::max_samples_per_call];
    int16_t right[mp3enc::max_samples_per_call];
    // A couple of frames reach every path of a call; more only made the runs slow. Input far below
    // the output rates is resampled up to many frames, so it gets fewer samples.
    constexpr int32_t lowest_output_rate = 8000;
    const int32_t samples_per_run = rate >= lowest_output_rate
        ? 2 * 1152
        : static_cast<int32_t>(std::max<int64_t>(64, int64_t { 2 } * 1152 * rate / lowest_output_rate));
    int32_t encoded = 0;
    while (in.size > 0 && encoded < samples_per_run) {
        const int32_t count = in.take<uint16_t>() % (mp3enc::max_samples_per_call + 1);
        encoded += count + 1;
        const uint16_t bound = in.take<uint16_t>();
        for (int32_t i = 0; i < count; ++i) {
            left[i] = in.take<int16_t>();
            right[i] = channels == 2 ? in.take<int16_t>() : 0;
        }
        // A bound of 0 leaves the buffer unbounded; the buffer holds far more than a call makes.
        mp3enc::encode(p, left, right, count, out.data(), bound % 4 == 0 ? 0 : bound % 6000);
    }
    mp3enc::flush(p, out.data(), 0);
    mp3enc::destroy(p);
    return 0;
}
