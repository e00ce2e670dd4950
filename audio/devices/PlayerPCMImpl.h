#pragma once

#include "audio/PCMData.h"
#include "audio/devices/DeviceThread.h"
#include "audio/devices/PlayerPCM.h"
#include "platform/core/Message.h"
#include "platform/media/WaveOut.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

namespace audio {

// The player's device thread. Its owner's consumer lock guards everything
// the thread shares: buffers, pending data, the device and the upstream link.
class PlayerPCMImpl : public DeviceThread {
public:
    static constexpr int buffer_count = 6;
    static constexpr int buffer_milliseconds = 200;
    static constexpr int pull_frames = 16384;

    explicit PlayerPCMImpl(PlayerPCM& owner);
    ~PlayerPCMImpl() override;

    // The front: flags first, then the kick.
    bool play();
    bool stop();
    bool pause();
    bool is_paused() const { return m_pause_requested.load(); }
    void set_volume(double volume);
    double get_volume();
    bool has_failed() const { return m_failed.load(); }
    bool is_idle();
    void set_position_probe(PlayerPCM::PositionProbe probe);
    void flush();
    void restart_positions();
    double get_heard_position();

protected:
    void handle(const platform::Message& message) override;
    void finish() override;

private:
    enum State { Closed, Playing, Draining };

    bool kick();
    void on_kick();
    void open_device(uint32_t play_request);
    bool fill_device();
    void on_device_opened();
    void on_buffer_done(platform::WaveBuffer*);
    void on_device_closed(const platform::WaveDevice* device);
    void close_when_drained();
    bool any_busy() const;
    void apply_volume();
    bool matches_device(const PCMData&) const;
    // A pull from upstream that notes where the pulled audio ends.
    PCMData pull();
    double position_at(std::uint64_t frame) const;

    PlayerPCM& m_owner;
    std::unique_ptr<platform::WaveOut> m_device;
    platform::WaveBuffer m_headers[buffer_count];
    std::unique_ptr<uint8_t[]> m_blocks[buffer_count];
    double m_volume = 1.0;
    platform::WaveFormat m_device_format;
    uint32_t m_buffer_size = 0;
    PCMData m_pending;
    State m_state = Closed;
    bool m_paused = false;
    // 0, or the number of the play request still standing.
    std::atomic<uint32_t> m_play_requested = 0;
    std::atomic<uint32_t> m_play_requests = 0;
    std::atomic<bool> m_pause_requested = false;
    std::atomic<bool> m_failed = false;

    // Where pulled audio ends in the stream: the frames pulled up to a point
    // and the stream position there. Before a mark the position runs back
    // at the chunk's pace, down to the mark before it (a band's silence at
    // the start of a stream stays at its start); the floor is where the
    // oldest kept mark starts.
    struct Mark {
        std::uint64_t frames = 0;
        double position = 0;
        // Stream seconds per frame of the chunk that ends here.
        double frame_seconds = 0;
    };
    static constexpr int mark_capacity = 256;
    PlayerPCM::PositionProbe m_probe;
    std::array<Mark, mark_capacity> m_marks {};
    int m_first_mark = 0;
    int m_mark_count = 0;
    Mark m_floor;
    bool m_floor_known = false;
    std::uint64_t m_pulled = 0;
};

}
