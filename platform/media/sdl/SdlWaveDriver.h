#pragma once

#include "platform/media/WaveDriver.h"

#include <mutex>

namespace platform::sdl {

// Waveform devices on SDL's audio in callback mode. SDL converts to and from
// whatever the hardware takes, so any valid format opens. SDL_AUDIODRIVER=disk
// with SDL_DISKAUDIOFILE / SDL_DISKAUDIOFILEIN turns the devices into raw files.
class SdlWaveDriver final : public WaveDriver {
public:
    SdlWaveDriver();
    ~SdlWaveDriver() override;
    SdlWaveDriver(const SdlWaveDriver&) = delete;
    SdlWaveDriver& operator=(const SdlWaveDriver&) = delete;

    // False when SDL's audio could not be started; every open then fails.
    // SDL's audio starts at the first open (or this call): until something
    // plays or records, none of its libraries and threads (a hot-plug poll
    // among them) cost the program anything.
    bool is_available();

    std::unique_ptr<WaveOut> open_output(const WaveFormat&, WavePost) override;
    std::unique_ptr<WaveIn> open_input(const WaveFormat&, WavePost) override;

private:
    std::once_flag m_started;
    bool m_available = false;
};

}
