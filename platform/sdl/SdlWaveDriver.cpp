#include "platform/sdl/SdlWaveDriver.h"

#include <SDL.h>

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

    // The callback only ever takes the device's own lock, inside render/capture.
    SDL_AudioDeviceID open_device(
        const WaveFormat& format, bool capture, SDL_AudioCallback callback, void* self)
    {
        SDL_AudioSpec want {};
        want.freq = format.sample_rate;
        want.format = format.bits_per_sample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
        want.channels = static_cast<Uint8>(format.channels);
        want.samples = callback_frames(format.sample_rate);
        want.callback = callback;
        want.userdata = self;
        SDL_AudioSpec have {};
        return SDL_OpenAudioDevice(nullptr, capture ? 1 : 0, &want, &have, 0);
    }

    class SdlWaveOut final : public WaveOut {
    public:
        SdlWaveOut(const WaveFormat& format, WavePost post)
            : WaveOut(format, std::move(post))
        {
        }
        ~SdlWaveOut() override { shut_down(); }

        bool open()
        {
            m_device = open_device(format(), false, &SdlWaveOut::callback, this);
            if (m_device == 0)
                return false;
            SDL_PauseAudioDevice(m_device, 0);
            post_open();
            return true;
        }

    protected:
        void stop_transport() override
        {
            if (m_device != 0)
                SDL_CloseAudioDevice(m_device);
            m_device = 0;
        }

    private:
        static void callback(void* self, Uint8* stream, int length)
        {
            static_cast<SdlWaveOut*>(self)->render(stream, static_cast<size_t>(length));
        }

        SDL_AudioDeviceID m_device = 0;
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
            m_device = open_device(format(), true, &SdlWaveIn::callback, this);
            if (m_device == 0)
                return false;
            post_open();
            return true;
        }

    protected:
        bool start_transport() override
        {
            SDL_PauseAudioDevice(m_device, 0);
            return true;
        }
        void pause_transport() override { SDL_PauseAudioDevice(m_device, 1); }
        void stop_transport() override
        {
            if (m_device != 0)
                SDL_CloseAudioDevice(m_device);
            m_device = 0;
        }

    private:
        static void callback(void* self, Uint8* stream, int length)
        {
            static_cast<SdlWaveIn*>(self)->capture(stream, static_cast<size_t>(length));
        }

        SDL_AudioDeviceID m_device = 0;
    };

}

SdlWaveDriver::SdlWaveDriver()
    : m_available(SDL_InitSubSystem(SDL_INIT_AUDIO) == 0)
{
}

SdlWaveDriver::~SdlWaveDriver()
{
    if (m_available)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

std::unique_ptr<WaveOut> SdlWaveDriver::open_output(const WaveFormat& format, WavePost post)
{
    if (!m_available || !format.is_valid())
        return nullptr;
    auto device = std::make_unique<SdlWaveOut>(format, std::move(post));
    if (!device->open())
        return nullptr;
    return device;
}

std::unique_ptr<WaveIn> SdlWaveDriver::open_input(const WaveFormat& format, WavePost post)
{
    if (!m_available || !format.is_valid())
        return nullptr;
    auto device = std::make_unique<SdlWaveIn>(format, std::move(post));
    if (!device->open())
        return nullptr;
    return device;
}

}
