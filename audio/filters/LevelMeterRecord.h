#pragma once

#include "audio/PCMData.h"
#include "audio/Processor.h"

#include <atomic>

namespace audio {

// The peak of the last recorded chunk, and how long the input has stayed at
// or below a threshold: what voice-activated recording waits on.
class LevelMeterRecord : public Processor<PCMData, PCMData> {
public:
    explicit LevelMeterRecord(double silence_limit);

    // 0..1 of full scale.
    void set_threshold(double threshold) { m_threshold.store(threshold, std::memory_order_relaxed); }
    double get_level() const { return m_level.load(std::memory_order_relaxed); }
    double get_silence_seconds() const { return m_silence.load(std::memory_order_relaxed); }
    bool is_silent() const { return get_silence_seconds() > m_silence_limit; }

    PCMData process(const PCMData& input) override;

private:
    std::atomic<double> m_level { 0 };
    std::atomic<double> m_threshold { 0 };
    std::atomic<double> m_silence { 0 };
    double m_silence_limit;
};

}
