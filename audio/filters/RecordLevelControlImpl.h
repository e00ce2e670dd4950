#pragma once

#include "audio/PCMData.h"

namespace audio {

// How the record input gain is applied; levels run 0..1 with 0.5 at unity.
class RecordLevelControlImpl {
public:
    virtual ~RecordLevelControlImpl() = default;

    virtual double get_level() = 0;
    virtual void set_level(double level) = 0;
    virtual bool is_available() = 0;
    virtual PCMData apply(const PCMData& input) { return input; }
};

}
