#include "audio/filters/LevelMeterRecord.h"

#include "audio/SampleFormat.h"

namespace audio {

namespace {

struct Reading {
    std::int32_t peak = 0;
    std::int32_t last_loud = -1;
};

// Channel 0 only: one sample per frame is enough for a level display.
template<typename Format>
Reading read_channel0(const PCMData& input, std::int32_t frames, std::int32_t threshold)
{
    Reading reading;
    const std::uint8_t* p = input.bytes();
    std::int32_t stride = input.bytes_per_frame();
    for (std::int32_t i = 0; i < frames; ++i) {
        std::int32_t value = Format::load(p + std::size_t(i) * stride);
        if (value > reading.peak)
            reading.peak = value;
        if (value > threshold)
            reading.last_loud = i;
    }
    return reading;
}

}

LevelMeterRecord::LevelMeterRecord(double silence_limit)
    : m_silence_limit(silence_limit)
{
}

PCMData LevelMeterRecord::process(const PCMData& input)
{
    std::int32_t frames = input.get_frames();
    if (frames == 0)
        return input;
    double threshold = m_threshold.load(std::memory_order_relaxed);
    Reading reading;
    if (input.bits_per_sample == 8) {
        reading = read_channel0<Samples8>(input, frames, std::int32_t(threshold * 127.0));
        m_level.store(reading.peak * (1 / 127.0), std::memory_order_relaxed);
    } else {
        reading = read_channel0<Samples16>(input, frames, std::int32_t(threshold * 32767.0));
        m_level.store(reading.peak * (1 / 32767.0), std::memory_order_relaxed);
    }
    if (input.sample_rate <= 0)
        return input;
    double rate = input.sample_rate;
    if (reading.last_loud >= 0)
        m_silence.store((frames - reading.last_loud) / rate, std::memory_order_relaxed);
    else
        m_silence.store(get_silence_seconds() + frames / rate, std::memory_order_relaxed);
    return input;
}

}
