#include "platform/WaveDriver.h"

#include <atomic>

namespace platform {

namespace {

class NoWaveDriver final : public WaveDriver {
public:
    std::unique_ptr<WaveOut> open_output(const WaveFormat&, WavePost) override { return nullptr; }

    std::unique_ptr<WaveIn> open_input(const WaveFormat&, WavePost) override { return nullptr; }
};

NoWaveDriver no_driver;
std::atomic<WaveDriver*> current_driver = nullptr;

}

WaveDriver& wave_driver()
{
    WaveDriver* driver = current_driver.load();
    return driver ? *driver : no_driver;
}

void set_wave_driver(WaveDriver* driver)
{
    current_driver.store(driver);
}

}
