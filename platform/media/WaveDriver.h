#pragma once

#include "platform/core/Service.h"
#include "platform/media/WaveIn.h"
#include "platform/media/WaveOut.h"

#include <memory>

namespace platform {

// Opens waveform devices. An open that succeeds has posted the device's open
// message before it returns; one that fails posts nothing and returns null.
class WaveDriver {
public:
    virtual ~WaveDriver() = default;
    virtual std::unique_ptr<WaveOut> open_output(const WaveFormat&, WavePost) = 0;
    virtual std::unique_ptr<WaveIn> open_input(const WaveFormat&, WavePost) = 0;
};

// The driver the audio engine opens its devices on. Until one is installed
// there is no audio device and every open fails. A driver must outlive every
// device it opened: close the devices before replacing it.
ServiceSlot<WaveDriver>& wave_driver_slot();

inline WaveDriver& wave_driver() { return wave_driver_slot().get(); }

}
