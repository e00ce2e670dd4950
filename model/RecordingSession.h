#pragma once

#include "audio/chains/RecordChain.h"
#include "audio/devices/ActiveBuffer.h"
#include "audio/devices/RecorderPCM.h"
#include "audio/filters/LevelMeterRecord.h"
#include "audio/filters/Muter.h"
#include "audio/filters/RecordLevelControl.h"
#include "audio/filters/TimeMeter.h"
#include "liba/Nocopy.h"

#include <cstdint>
#include <memory>
#include <string>

namespace skinner {
class Form;
}

// What the recording is made of now, as tests and traces look at it.
struct RecordingDescription {
    std::int64_t insert_position;
    int queued_bytes;
    int queued_chunks;
    // The input meter's level, 0..1, and whether it hears silence.
    double level;
    bool silent;
};

// The document's recording: the recorder, then the muter, the input level,
// the input meter (which pauses by unlinking what follows it), the time
// meter and the buffer that queues for the record chain's thread; the file
// it writes and, for an insert, the target and the position the part goes
// to. Driven on the GUI thread; the recorder's and the buffer's threads
// push through it.
class RecordingSession : private liba::Nocopy {
public:
    RecordingSession();

    RecordingDescription describe();

    bool is_recording() const { return m_recorder != nullptr; }

    // Null while nothing records.
    audio::RecorderPCM* recorder() const { return m_recorder.get(); }

    audio::RecordChain* chain() const { return m_record_chain.get(); }

    void set_input_level(double level) { m_record_level.set_level(level); }

    double get_input_level() { return m_record_level.get_level(); }

    void set_muted(bool muted) { m_muter.set_muted(muted); }

    // Linked and not muted.
    bool is_input_active();

    void set_threshold(double threshold) { m_record_meter.set_threshold(threshold); }

    double input_level() { return m_record_meter.get_level(); }

    bool is_silent() { return m_record_meter.is_silent(); }

    // What the time meter has counted since the recording was linked.
    double seconds() { return m_time_meter.get_seconds(); }

    // Takes the recorder and the chain, and links them at both ends; the
    // time starts over.
    void link(std::unique_ptr<audio::RecorderPCM> recorder, std::unique_ptr<audio::RecordChain> chain);
    // Beeps, then starts the recorder.
    bool start();
    // The input meter unlinks what follows it, or links it again.
    void pause();
    void resume();
    bool is_paused();
    // Whether the recorder captures and the chain's writer is well.
    bool is_ok();
    // Deletes the recorder while it is still linked, so that what it
    // captured last is pushed; waits for the buffer to drain (the parent
    // form shows the progress of a long one) and closes the chain. Whether
    // the chain's writer had failed.
    bool finish(skinner::Form* parent);

    const std::u16string& file() const { return m_file; }

    void set_file(std::u16string file) { m_file = std::move(file); }

    // Where an insert's part goes when the recording stops; empty for none.
    const std::u16string& insert_target() const { return m_insert_target; }

    std::int64_t insert_position() const { return m_insert_position; }

    void set_insert(std::u16string target, std::int64_t position);

    void clear_insert_target() { m_insert_target.clear(); }

    // Whether the path is, or holds, a file that the recording writes to.
    bool is_file_in_use(const std::u16string& path) const;

private:
    std::unique_ptr<audio::RecorderPCM> m_recorder;
    audio::ActiveBuffer m_active_buffer;
    std::unique_ptr<audio::RecordChain> m_record_chain;
    audio::LevelMeterRecord m_record_meter { 2.0 };
    audio::TimeMeter m_time_meter;
    audio::RecordLevelControl m_record_level;
    audio::Muter m_muter;
    std::u16string m_file;
    std::u16string m_insert_target;
    std::int64_t m_insert_position { 0 };
};
