#pragma once

#include "audio/PCMData.h"
#include "audio/Provider.h"
#include "audio/devices/Recorder.h"

namespace audio {

class RecorderPCMImpl;

// The start of every recording: captures from the waveform input on a
// device thread of its own and pushes each filled buffer downstream, on
// that thread. Nobody pulls from it.
class RecorderPCM : public Recorder, public Provider<PCMData> {
public:
    // Opens the input device (not yet capturing); is_recording() tells
    // whether that worked.
    RecorderPCM(int channels, int sample_rate, int bits_per_sample);
    // Pushes the buffer being filled and every queued one before returning.
    ~RecorderPCM() override;
    RecorderPCM(const RecorderPCM&) = delete;
    RecorderPCM& operator=(const RecorderPCM&) = delete;

    // A pull is a programming error and ends the program.
    PCMData get_data(std::int32_t size) override;

    bool start() override;
    bool stop() override;
    bool is_stopped() override;
    bool is_recording() override;
    int get_channels() override;
    int get_bits_per_sample() override;
    int get_sample_rate() override;
    int get_bitrate() override;

private:
    RecorderPCMImpl* m_impl;
};

}
