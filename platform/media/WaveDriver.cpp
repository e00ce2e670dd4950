#include "platform/media/WaveDriver.h"

namespace platform {

namespace {

class NoWaveDriver final : public WaveDriver {
public:
    std::unique_ptr<WaveOut> open_output(const WaveFormat&, WavePost) override { return nullptr; }

    std::unique_ptr<WaveIn> open_input(const WaveFormat&, WavePost) override { return nullptr; }
};

}

ServiceSlot<WaveDriver>& wave_driver_slot()
{
    static ServiceSlot<WaveDriver> slot(make_backend<WaveDriver, NoWaveDriver>);
    return slot;
}

}
