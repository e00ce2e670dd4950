#pragma once

#include "audio/Consumer.h"
#include "audio/PCMData.h"
#include "audio/Provider.h"
#include "audio/filters/OutputBuffer.h"
#include "liba/Mutex.h"

namespace audio {

// Changes the playing speed by picking frames: at speed s it keeps every s-th
// frame, so the pitch moves with the speed. Works pushed or pulled and holds
// no link lock; its own small lock keeps a speed change whole against a chunk.
class FastPlay : public Consumer<PCMData>, public Provider<PCMData> {
public:
    FastPlay() = default;

    // Returns whether the speed changed; a change restarts the frame walk.
    // Speeds that are not positive and finite are refused.
    bool set_speed(double speed);
    double get_speed();
    // Restarts the frame walk: what comes next is another stream.
    void restart();

    // One chunk at the current speed; the walk goes on into the next chunk.
    PCMData resample(const PCMData& input);

    void on_data(const PCMData& data) override;
    PCMData get_data(std::int32_t frames) override;

private:
    liba::Mutex m_speed_lock;
    double m_speed = 1.0;
    // The input frame, counted from the next chunk's start, to emit next.
    double m_position = 0;
    OutputBuffer m_output;
};

}
