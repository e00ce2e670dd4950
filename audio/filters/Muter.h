#pragma once

#include "audio/PCMData.h"
#include "audio/Processor.h"

#include <atomic>

namespace audio {

// Replaces the record input with silence of the same length and format while
// muted.
class Muter : public Processor<PCMData, PCMData> {
public:
    Muter() = default;

    void set_muted(bool muted) { m_muted.store(muted, std::memory_order_relaxed); }
    bool is_muted() const { return m_muted.load(std::memory_order_relaxed); }

    PCMData process(const PCMData& input) override;

private:
    std::atomic<bool> m_muted { false };
};

}
