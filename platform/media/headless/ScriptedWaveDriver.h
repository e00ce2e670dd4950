#pragma once

#include "platform/media/WaveDriver.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace platform::headless {

class ScriptedWaveOut;
class ScriptedWaveIn;

// Waveform devices driven by the test itself: it decides when output is
// played and what input is captured, and reads back what the devices were
// asked to do, one line per operation ("out open 44100 16 2", "out write
// 35280", "out pause", "in add 10000", "in start", ...). Opened devices
// report to whatever post function they were given, as real ones do.
class ScriptedWaveDriver final : public WaveDriver {
public:
    ScriptedWaveDriver() = default;
    ~ScriptedWaveDriver() override;

    std::unique_ptr<WaveOut> open_output(const WaveFormat&, WavePost) override;
    std::unique_ptr<WaveIn> open_input(const WaveFormat&, WavePost) override;

    // While set, every open fails.
    void set_open_fails(bool);
    // While set, starting an input device fails.
    void set_start_fails(bool);

    std::vector<std::string> log() const;
    // Blocks until the log satisfies the predicate; false if it still does not
    // after a long safety limit, so a broken test fails instead of hanging.
    bool wait_for(const std::function<bool(const std::vector<std::string>&)>&) const;
    // Blocks until the line has been logged at least count times.
    bool wait_for_line(const std::string& line, int count = 1) const;
    int count(const std::string& line) const;

    // Plays bytes (whole frames) of the open output device; empty when none is open.
    std::vector<uint8_t> play(size_t bytes);
    // As play, but stops where the queued buffers end: no silence.
    std::vector<uint8_t> play_queued(size_t max_bytes);
    // Feeds captured bytes to the open input device; false when none is open.
    bool capture(const std::vector<uint8_t>& bytes);
    bool has_output() const;
    bool has_input() const;
    // The open output device's volume word.
    uint32_t output_volume() const;

private:
    friend class ScriptedWaveOut;
    friend class ScriptedWaveIn;
    template<typename Device>
    std::unique_ptr<Device> open(const char* direction, const WaveFormat&, WavePost, Device*& slot);
    void append(std::string line);
    void forget(const void* device);

    mutable std::mutex m_lock;
    mutable std::condition_variable m_changed;
    std::vector<std::string> m_log;
    ScriptedWaveOut* m_output = nullptr;
    ScriptedWaveIn* m_input = nullptr;
    bool m_open_fails = false;
    bool m_start_fails = false;
};

}
