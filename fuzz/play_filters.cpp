// Runs arbitrary PCM, in arbitrary formats and chunk sizes, through the
// play path's filters: an equalizer band, fast play and the stretch. The
// stretch looks a tenth of a second ahead and goes over that again with
// every block, so rates stay low and inputs short: the paths are the same.
#include "audio/filters/EqualizerPCM.h"
#include "audio/filters/FastPlay.h"
#include "audio/filters/StretchFilter.h"

#include <algorithm>
#include <cstdint>
#include <deque>

namespace {

// Hands out the input's bytes as chunks, switching format on the way.
class Source : public audio::Provider<audio::PCMData> {
public:
    std::deque<audio::PCMData> chunks;

    audio::PCMData get_data(std::int32_t) override
    {
        if (chunks.empty())
            return {};
        audio::PCMData next = chunks.front();
        chunks.pop_front();
        return next;
    }
};

constexpr std::int32_t rates[] = { 0, 100, 8000, 11025, 4000, 1 };
constexpr std::size_t longest_input = 4096;
constexpr std::int32_t bits[] = { 8, 16, 24, 12 };

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    size = std::min(size, longest_input);
    std::uint8_t control = data[0];
    std::size_t chunk_bytes = 1 + data[1] * 64;
    Source source;
    for (std::size_t at = 4, n = 0; at < size; at += chunk_bytes, ++n) {
        std::uint8_t format = n % 8 == 0 ? data[2] : data[3];
        std::size_t length = std::min(chunk_bytes, size - at);
        source.chunks.emplace_back(liba::SharedBuffer(length, data + at), 1 + format % 3,
            bits[(format / 3) % 4], rates[(format / 12) % 6]);
    }

    audio::EqualizerPCM band;
    band.set_gain(control % 2 ? 12 : -6);
    band.set_frequency(50 + control * 20);
    band.set_bandwidth((control % 5) * 0.5);
    audio::FastPlay fast;
    fast.set_speed(control % 3 == 0 ? 1 : 0.25 + (control % 7) * 0.5);
    audio::StretchFilter stretch;
    stretch.set_factor(1 + control % 3);

    audio::connect<audio::PCMData>(&source, &band);
    audio::connect<audio::PCMData>(&band, &fast);
    audio::connect<audio::PCMData>(&fast, &stretch);
    for (int i = 0; i < 10000 && !stretch.get_data(1 + data[1] * 16).is_empty(); ++i) { }
    audio::connect<audio::PCMData>(&fast, nullptr);
    audio::connect<audio::PCMData>(&band, nullptr);
    audio::connect<audio::PCMData>(&source, nullptr);
    return 0;
}
