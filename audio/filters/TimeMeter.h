#pragma once

#include "audio/PCMData.h"
#include "audio/Processor.h"

#include <atomic>

namespace audio {

// Counts the seconds of audio that pass.
class TimeMeter : public Processor<PCMData, PCMData> {
public:
    TimeMeter() = default;

    void reset() { m_elapsed.store(0, std::memory_order_relaxed); }
    double get_seconds() const { return m_elapsed.load(std::memory_order_relaxed); }

    PCMData process(const PCMData& input) override;

private:
    std::atomic<double> m_elapsed { 0 };
};

}
