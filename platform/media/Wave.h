#pragma once

#include "platform/core/Message.h"

#include <cstdint>
#include <functional>

// Shared vocabulary of the waveform output and input devices.
namespace platform {

class WaveDevice;
struct WaveBuffer;

// What a device posts to the thread that opened it (platform::msg::wave_*):
// wparam carries the device for open and close, lparam the buffer for done
// and data. Must never block.
using WavePost = std::function<void(MessageId, WParam, LParam)>;

// Posts what a device reports to the thread's queue (platform/core/MessageQueue.h).
WavePost post_to_thread(ThreadId thread);

using WaveDeviceMessage = PointerMessage<WaveDevice, Carrier::wparam>;
using WaveBufferMessage = PointerMessage<WaveBuffer, Carrier::lparam>;

inline constexpr WaveDeviceMessage wave_out_open_message { msg::wave_out_open };
inline constexpr WaveDeviceMessage wave_out_close_message { msg::wave_out_close };
inline constexpr WaveBufferMessage wave_out_done_message { msg::wave_out_done };
inline constexpr WaveDeviceMessage wave_in_open_message { msg::wave_in_open };
inline constexpr WaveDeviceMessage wave_in_close_message { msg::wave_in_close };
inline constexpr WaveBufferMessage wave_in_data_message { msg::wave_in_data };

// Interleaved little-endian PCM; 8-bit samples are unsigned around 128.
struct WaveFormat {
    int channels = 0;
    int bits_per_sample = 0;
    int sample_rate = 0;

    int block_align() const { return channels * (bits_per_sample / 8); }

    // 1-2 channels, 8 or 16 bits, a rate a device can be asked for.
    bool is_valid() const;
    bool operator==(const WaveFormat&) const = default;
};

// A block of samples lent to a device. The owner keeps the memory alive
// until the device hands the buffer back (Done set, message posted).
struct WaveBuffer {
    enum Flags : uint32_t {
        Done = 0x01,
        Prepared = 0x02,
        Queued = 0x10,
    };

    uint8_t* data = nullptr;
    uint32_t length = 0;
    uint32_t bytes_recorded = 0; // input: how much of data was filled
    uintptr_t user = 0; // the owner's own word; the device never touches it
    uint32_t flags = 0;
};

}
