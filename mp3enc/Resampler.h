#pragma once

#include <cstdint>
#include <memory>

namespace mp3enc {

// Polyphase windowed-sinc rate converter with a Blackman window, one history per channel.
class Resampler {
public:
    struct Result {
        int32_t consumed = 0;
        int32_t produced = 0;
    };

    // Designs the filters for in_rate -> out_rate. False when memory runs out.
    bool init(int32_t in_rate, int32_t out_rate);

    bool ready() const { return m_filters != nullptr; }

    // Converts in[0, count) of one channel into at most max_out samples of out.
    Result convert(int32_t channel, const int16_t* in, int32_t count, int16_t* out, int32_t max_out);

    int32_t phases() const { return m_phases; }

    int32_t taps() const { return m_taps; }

    float ratio() const { return m_ratio; }

    // Coefficient i of filter j, for inspection.
    float coefficient(int32_t filter, int32_t i) const { return m_filters[filter * (m_taps + 1) + i]; }

private:
    static constexpr int32_t max_history = 33;

    float m_ratio = 1.0f;
    int32_t m_phases = 0;
    int32_t m_taps = 0;
    std::unique_ptr<float[]> m_filters;
    int16_t m_history[2][max_history] = {};
    int32_t m_in_rate = 0;
    int32_t m_out_rate = 0;
    int64_t m_offset[2] = {}; // time of the next call's first output, in 1 / out_rate samples, negated
};

}
