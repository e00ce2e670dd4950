#pragma once

#include "audio/PCMData.h"
#include "audio/Processor.h"
#include "liba/Stopwatch.h"

#include <deque>
#include <vector>

namespace audio {

// Records the level of each chunk on its way to the player, 15 readings a
// second, and answers how loud the audio being heard now is: the player
// queues audio ahead of the loudspeaker, so the reading is the one for the
// time played since the meter's clock started.
class LevelMeter : public Processor<PCMData, PCMData> {
public:
    LevelMeter();

    // 0..1 of full scale.
    double get_level();
    // A paused meter stands still: its clock does not run through the queue.
    void set_paused(bool paused);
    // Drops the chunks heard by `now`; true when none is left.
    bool expire(double now);

    PCMData process(const PCMData& input) override;

private:
    struct Entry {
        std::int32_t sample_rate;
        std::vector<double> levels;
        double duration;
    };

    std::int32_t step_of(std::int32_t rate) const;
    double now() const;

    liba::Stopwatch m_stopwatch;
    std::deque<Entry> m_history;
    double m_offset = 0;
    double m_time_scale = 15.0;
    double m_frozen = 0;
    bool m_paused = false;
};

}
