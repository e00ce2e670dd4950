#pragma once

#include "audio/devices/DeviceThread.h"
#include "liba/Mutex.h"
#include "platform/core/Message.h"
#include "platform/media/WaveIn.h"

#include <cstdint>
#include <memory>

namespace audio {

class RecorderPCM;

// The recorder's device thread: owns the input device and its twenty
// buffers and pushes every buffer the device hands back.
class RecorderPCMImpl : public DeviceThread {
public:
    static constexpr int buffer_count = 20;
    static constexpr int frames_per_buffer = 5000;

    RecorderPCMImpl(int channels, int sample_rate, int bits_per_sample, RecorderPCM& provider);
    ~RecorderPCMImpl() override;

    bool start();
    bool stop();
    bool is_stopped();
    bool is_recording();
    int get_channels();
    int get_bits_per_sample();
    int get_sample_rate();
    int get_bitrate();

protected:
    void handle(const platform::Message& message) override;

private:
    // 64-bit: the constructor's arguments are checked only by the device.
    int64_t block_align() const { return int64_t(m_channels) * ((int64_t(m_bits_per_sample) + 7) / 8); }

    void buffer_full(platform::WaveBuffer*);
    bool is_ours(const platform::WaveBuffer*) const;

    liba::Mutex m_lock;
    RecorderPCM& m_provider;
    platform::WaveBuffer m_headers[buffer_count];
    std::unique_ptr<uint8_t[]> m_blocks[buffer_count];
    std::unique_ptr<platform::WaveIn> m_device;
    uint32_t m_buffer_size = 0;
    bool m_in_flight = true;
    bool m_stopped = false;
    bool m_closing = false;
    const int m_channels;
    const int m_sample_rate;
    const int m_bits_per_sample;
};

}
