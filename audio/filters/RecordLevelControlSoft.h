#pragma once

#include "audio/filters/RecordLevelControlImpl.h"

namespace audio {

// Scales the samples themselves: level 0 is x0.05, 0.5 unity, 1 x10, linear
// in between, clamped to the sample range.
class RecordLevelControlSoft : public RecordLevelControlImpl {
public:
    double get_level() override { return m_level; }
    void set_level(double level) override { m_level = level; }
    bool is_available() override { return true; }
    PCMData apply(const PCMData& input) override;

    static double gain_of(double level);

private:
    double m_level = 0.5;
};

}
