#pragma once

#include "audio/PCMData.h"
#include "audio/Processor.h"
#include "audio/filters/RecordLevelControlImpl.h"

#include <memory>

namespace audio {

// The record input gain, applied in software.
class RecordLevelControl : public Processor<PCMData, PCMData> {
public:
    RecordLevelControl();

    double get_level();
    void set_level(double level);

    PCMData process(const PCMData& input) override;

private:
    std::unique_ptr<RecordLevelControlImpl> m_impl;
};

}
