#pragma once

#include "audio/chains/PlayChain.h"
#include "audio/codecs/EncoderMP3.h"
#include "audio/writers/FileWriterMP3.h"
#include "liba/Thread.h"
#include "skinner/widgets/text/ControlFrame.h"
#include "skinner/widgets/progress/ControlProgress.h"
#include "skinner/core/Form.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

// Converts one WAV recording into an MP3 file on a worker thread, showing
// its progress, and carries the recording's bookmarks over. The MP3 data goes
// into a temporary file beside the target, which takes the target's name
// only once it is complete and reads back; until then an existing target
// stays as it was, and a conversion that fails or is stopped leaves nothing.
//
// Threads: the worker alone touches the chain, the encoder, the writer and
// the files; the GUI thread reads only what the worker publishes in atomics.
// Destroying the form stops the worker and waits for it.
class ConvertForm : public skinner::Form, private liba::Thread {
public:
    static constexpr std::int32_t bitrate = 64000;

    enum class Outcome : std::int32_t {
        running = 0,
        converted = 1,
        stopped = 2, // closed before the end
        failed = 3, // unreadable source, write failure (a full disk), or a file that does not read back
        no_room = 4, // refused before starting: the target's volume is too full
    };

    // The caller passes the settings skin. The opener is the writer's (tests fill the disk with it).
    ConvertForm(skinner::Form* owner, skinner::Properties& properties, const std::u16string& source,
        const std::u16string& target, audio::FileWriter::Opener opener = {});
    ~ConvertForm() override;

    // Whether a conversion can start: the source opened and the temporary file was made.
    bool is_ready() const { return m_ready; }
    // Bytes the MP3 file is expected to take: bitrate x length x 0.125.
    double needed_bytes() const;
    // True when the target's volume has more room than needed_bytes().
    bool has_room() const;
    // Starts the worker one step below normal priority and runs the form
    // until the worker is done or the user closes it.
    virtual void do_modal();

    Outcome outcome() const { return m_outcome.load(std::memory_order_acquire); }

    void on_timer_broadcast(std::uint32_t timer_id) override;
    // Asks the worker to stop at its next step; the destructor waits for it.
    bool can_close() override;

private:
    void run() override;
    // Completes the temporary file, checks it and puts it in the target's place.
    bool finish();
    void carry_bookmarks_over(audio::FileReader& source) const;
    void stop_timer();

    skinner::ControlFrame m_file_name;
    skinner::ControlProgress m_progress;
    std::unique_ptr<audio::PlayChain> m_chain;
    std::unique_ptr<audio::EncoderMP3> m_encoder;
    std::unique_ptr<audio::FileWriterMP3> m_writer;
    std::u16string m_source;
    std::u16string m_target;
    std::u16string m_temporary;
    std::uint32_t m_timer_id = 0;
    bool m_ready = false;
    // Read before the worker starts, so the GUI thread never asks the reader.
    std::int64_t m_length_units = 0;
    double m_length_seconds = 0;
    std::int64_t m_step_units = 0;
    // Published by the worker.
    std::atomic<std::int64_t> m_position { 0 };
    std::atomic<Outcome> m_outcome { Outcome::running };
};

// Runs the conversion of source into target over the owner: refuses with
// the error form when the source cannot be read or the target's volume has
// no room, and reports a failed conversion the same way. The target is
// replaced only by a complete file; the caller need not remove it first.
ConvertForm::Outcome convert_to_mp3(skinner::Form* owner, skinner::Properties& properties,
    const std::u16string& source, const std::u16string& target);
