#include "platform/media/WaveSoundPlayer.h"

#include "platform/core/Message.h"
#include "platform/media/WaveDriver.h"

#include <chrono>
#include <condition_variable>
#include <limits>
#include <memory>
#include <mutex>

namespace platform {

namespace {

// The device's done message, waited for on the caller's thread.
struct Completion {
    std::mutex lock;
    std::condition_variable changed;
    bool done = false;
};

// How long the sound lasts, and then some: a device that never hands the
// buffer back must not hold the caller forever.
std::chrono::milliseconds patience(const WaveFormat& format, std::size_t bytes)
{
    const double per_second = double(format.block_align()) * format.sample_rate;
    return std::chrono::milliseconds(2000 + static_cast<long long>(1000.0 * double(bytes) / per_second));
}

}

bool WaveSoundPlayer::play(const WaveFormat& format, std::span<const std::uint8_t> samples)
{
    const std::size_t frame = static_cast<std::size_t>(format.block_align());
    if (!format.is_valid() || samples.size() < frame
        || samples.size() > std::numeric_limits<std::uint32_t>::max())
        return false;
    auto completion = std::make_shared<Completion>();
    auto device = wave_driver().open_output(format, [completion](MessageId message, WParam, LParam) {
        if (message != msg::wave_out_done)
            return;
        std::lock_guard guard(completion->lock);
        completion->done = true;
        completion->changed.notify_all();
    });
    if (!device)
        return false;
    // The device only reads the buffer it is lent.
    WaveBuffer buffer;
    buffer.data = const_cast<std::uint8_t*>(samples.data());
    buffer.length = static_cast<std::uint32_t>(samples.size() - samples.size() % frame);
    bool played = device->prepare(buffer) && device->write(buffer);
    if (played) {
        std::unique_lock guard(completion->lock);
        played = completion->changed.wait_for(
            guard, patience(format, samples.size()), [&] { return completion->done; });
    }
    device->reset();
    device->unprepare(buffer);
    device->close();
    return played;
}

}
