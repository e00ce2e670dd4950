#include "platform/media/sdl/SdlWaveDriver.h"

#include <SDL.h>
#include <unistd.h>

namespace platform::sdl {

namespace {

// About 25 ms per callback, as a power of two.
Uint16 callback_frames(int rate)
{
    Uint16 frames = 256;
    while (frames < 4096 && frames * 40 < rate)
        frames *= 2;
    return frames;
}

// One SDL device in callback mode. The callback only ever takes the wave
// device's own lock, inside render or capture.
class SdlDevice {
public:
    bool open(const WaveFormat& format, bool capture, SDL_AudioCallback callback, void* self)
    {
        SDL_AudioSpec want {};
        want.freq = format.sample_rate;
        want.format = format.bits_per_sample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
        want.channels = static_cast<Uint8>(format.channels);
        want.samples = callback_frames(format.sample_rate);
        want.callback = callback;
        want.userdata = self;
        SDL_AudioSpec have {};
        m_id = SDL_OpenAudioDevice(nullptr, capture ? 1 : 0, &want, &have, 0);
        return m_id != 0;
    }

    void run(bool running) { SDL_PauseAudioDevice(m_id, running ? 0 : 1); }

    // Waits for a callback in progress.
    void close()
    {
        if (m_id != 0)
            SDL_CloseAudioDevice(m_id);
        m_id = 0;
    }

private:
    SDL_AudioDeviceID m_id = 0;
};

class SdlWaveOut final : public WaveOut {
public:
    SdlWaveOut(const WaveFormat& format, WavePost post)
        : WaveOut(format, std::move(post))
    {
    }

    ~SdlWaveOut() override { shut_down(); }

    bool open()
    {
        if (!m_device.open(format(), false, &SdlWaveOut::callback, this))
            return false;
        m_device.run(true);
        post_open();
        return true;
    }

protected:
    void stop_transport() override { m_device.close(); }

private:
    static void callback(void* self, Uint8* stream, int length)
    {
        static_cast<SdlWaveOut*>(self)->render(stream, static_cast<size_t>(length));
    }

    SdlDevice m_device;
};

class SdlWaveIn final : public WaveIn {
public:
    SdlWaveIn(const WaveFormat& format, WavePost post)
        : WaveIn(format, std::move(post))
    {
    }

    ~SdlWaveIn() override { shut_down(); }

    // Opened paused: capture begins with start().
    bool open()
    {
        if (!m_device.open(format(), true, &SdlWaveIn::callback, this))
            return false;
        post_open();
        return true;
    }

protected:
    bool start_transport() override
    {
        m_device.run(true);
        return true;
    }

    void pause_transport() override { m_device.run(false); }

    void stop_transport() override { m_device.close(); }

private:
    static void callback(void* self, Uint8* stream, int length)
    {
        static_cast<SdlWaveIn*>(self)->capture(stream, static_cast<size_t>(length));
    }

    SdlDevice m_device;
};

template<typename Device>
std::unique_ptr<Device> open_device(const WaveFormat& format, WavePost post)
{
    if (!format.is_valid())
        return nullptr;
    auto device = std::make_unique<Device>(format, std::move(post));
    if (!device->open())
        return nullptr;
    return device;
}

}

SdlWaveDriver::SdlWaveDriver() = default;

bool SdlWaveDriver::is_available()
{
    std::call_once(m_started, [this] {
        m_available = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        // SDL keeps per-thread error storage it frees only for its own threads
        // and, at SDL_Quit, the main one: a worker that starts audio frees its own.
        if (gettid() != getpid())
            SDL_TLSCleanup();
    });
    return m_available;
}

SdlWaveDriver::~SdlWaveDriver()
{
    if (m_available)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

std::unique_ptr<WaveOut> SdlWaveDriver::open_output(const WaveFormat& format, WavePost post)
{
    if (!is_available())
        return nullptr;
    return open_device<SdlWaveOut>(format, std::move(post));
}

std::unique_ptr<WaveIn> SdlWaveDriver::open_input(const WaveFormat& format, WavePost post)
{
    if (!is_available())
        return nullptr;
    return open_device<SdlWaveIn>(format, std::move(post));
}

}
