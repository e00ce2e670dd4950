#pragma once

#include "audio/PCMData.h"
#include "audio/Processor.h"
#include "liba/Stopwatch.h"

#include <vector>

namespace audio {

// Records the level of each chunk on its way to the player, 15 readings a
// second, and answers how loud the audio being heard now is: the player
// queues audio ahead of the loudspeaker, so the reading is the one for the
// time played since the meter's clock started. The history holds a few
// seconds of audio at most, however fast the audio is pulled through (a
// conversion runs faster than real time), in rings made once.
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

    // Far more audio than the player ever queues.
    static constexpr double history_seconds = 5.0;
    static constexpr std::size_t history_entries = 4096;

private:
    // One chunk: its readings lie in the ring of levels from `first` on.
    struct Entry {
        std::int32_t sample_rate = 0;
        double duration = 0;
        std::size_t first = 0;
        std::size_t levels = 0;
    };

    std::int32_t step_of(std::int32_t rate) const;
    double now() const;
    // The oldest entry leaves: heard, or forgotten unheard.
    void drop_oldest(bool heard);
    // A new entry with room for that many readings, older ones dropped as needed.
    Entry& add_entry(std::size_t levels);
    double& level(const Entry& entry, std::size_t index);

    liba::Stopwatch m_stopwatch;
    // A ring of entries, oldest first, and one of their readings.
    std::vector<Entry> m_history;
    std::vector<double> m_levels;
    std::size_t m_oldest = 0;
    std::size_t m_count = 0;
    std::size_t m_first_level = 0;
    std::size_t m_level_count = 0;
    double m_held = 0;
    double m_offset = 0;
    double m_time_scale = 15.0;
    double m_frozen = 0;
    bool m_paused = false;
};

}
