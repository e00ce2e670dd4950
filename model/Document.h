#pragma once

#include "liba/DateTime.h"
#include "liba/Nocopy.h"
#include "model/PlayMode.h"
#include "model/PlayQueue.h"
#include "model/RangeMarkList.h"
#include "model/Settings.h"
#include "playlist/Entry.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace audio {
class RecordChain;
class RecorderPCM;
}

namespace skinner {
class Form;
}

class DocumentMedia;
class PlaybackPath;
class RecordingSession;
struct PlayPathDescription;
struct RecordingDescription;

// The one model of the application: it owns the play path, the recording
// session and the play queue, the settings and the bookmarks of what plays
// or records, and tells its views what changed. Driven on the GUI thread
// only. Its operations only raise flags; whoever called them
// notifies afterwards (the tick and the scheduled start notify themselves).
class Document : private liba::Nocopy {
public:
    // What changed since the last notification; path names a recording that
    // has just finished.
    struct Changes {
        Changes() = default;
        Changes(bool general, bool position, bool state, bool volume);

        bool general { false };
        bool position { false };
        bool state { false };
        bool volume { false };
        std::u16string path;
    };

    // An observer; it registers with the document while it lives.
    class View {
    public:
        View();
        virtual ~View();
        View(const View&) = delete;
        View& operator=(const View&) = delete;

        virtual void update(const Changes& changes) = 0;
    };

    // A second document while one exists is fatal.
    Document();
    // Stops playback and recording and writes the settings file.
    ~Document();

    static Document* instance();

    Settings& get_settings() { return m_settings; }

    void add_view(View* view);
    void remove_view(View* view);
    // Hands the pending changes, merged with these flags, to every view, and
    // clears them first, so that a view's own changes go out next time.
    void notify(const Changes& changes);
    void notify();

    // The settings applied to the audio objects.
    void set_volume(double volume);
    double get_volume();
    void set_input(double level);
    double get_input();
    void set_input_enabled(bool enabled);
    bool is_input_active();
    void set_vas_enabled(bool enabled);

    bool is_vas_enabled() const { return m_settings.vas_on; }

    void set_vas_threshold(double threshold);

    double get_vas_threshold() const { return m_settings.vas; }

    // With pitch lock only normal and half speed play; whether fast play's speed changed.
    bool set_speed(double speed, bool pitch_lock);

    double get_speed() const { return m_settings.speed; }

    // Links the active equalizer bands between the head of the play path and fast play.
    void apply_equalizer();
    // Each 0..3; a value outside is refused.
    void set_noise_level(int index);
    void set_limiter_level(int index);
    void set_booster_level(int index);
    void apply_level_filter();
    // Takes the whole record, writes the settings file, rebuilds the play
    // order and registers the next scheduled start.
    void apply_settings(const Settings& settings);
    void set_can_play(bool can);
    void set_can_record(bool can);
    bool can_play() const;
    bool can_record() const;

    // What plays, else what records, else the idle answer.
    bool is_playing() const;
    bool is_recording() const;

    int get_sample_rate();
    int get_bits_per_sample();
    int get_bitrate_kbps();
    bool is_stereo();
    std::u16string get_sample_rate_text();
    std::u16string get_bits_text();
    std::u16string get_bitrate_text();
    std::u16string get_codec();
    std::u16string get_title() const;
    std::u16string get_current_file() const;

    const std::u16string& get_record_file() const;

    // Levels 0..1; both channels read the same meter.
    double get_output_level(int channel = 0);
    double get_input_level(int channel = 0);
    double get_vas_level(int channel = 0);
    // False once the running path has failed.
    bool is_ok();
    double get_remaining_seconds();

    // Playback.
    // With segments_only each item plays only its bookmarked segments, and
    // the modes that play all files stop after it.
    void set_play_list(
        std::u16string name, std::vector<playlist::Entry> entries, int current, bool segments_only);

    int get_item_count() const { return m_queue.count(); }

    void set_play_mode(PlayMode mode);

    PlayMode get_play_mode() const { return m_settings.play_mode; }

    // From start (reader units); an index outside the list lets the mode choose.
    bool play_item(int index, std::int64_t start = 0);
    bool play_relative(int step);

    bool play_next() { return play_relative(1); }

    bool play_previous() { return play_relative(-1); }

    bool has_next() const;
    bool has_previous() const;

    playlist::Entry get_current_item() const { return m_queue.current(); }

    // By signed seconds, clamped to the item.
    bool skip(double seconds);
    // To a fraction 0..1 of the item.
    bool seek(double fraction);
    bool pause();
    bool resume();
    bool is_paused();
    double get_position_seconds();
    double get_position_fraction();
    // Reader units; the data written while recording.
    std::int64_t get_length();
    std::int64_t get_position();
    // The 0.2 s tick: the end of an item, voice activation, a scheduled stop,
    // a failed writer; notifies while playing or recording.
    void on_timer();
    // Stops playback, or finishes a recording (the parent form shows the
    // drain's progress). False when nothing was stopped.
    bool stop(skinner::Form* parent = nullptr);

    // Bookmarks of what plays or records.
    RangeMarkList& get_bookmarks() { return m_bookmarks; }

    // At the current position, saved to the bookmark file at once.
    void add_bookmark(const std::u16string& name = u"Bookmark");
    bool load_bookmarks();

    // Recording. None touches a file before the recording is taken on, and
    // none records into what plays.
    // A new file in the folder (or the settings' record folder), named so
    // that nothing existing is recorded over; stops playback, and a running
    // recording (its file closed whole), first.
    bool record(const std::u16string& folder);

    // What the microphone is opened with.
    struct RecordFormat {
        int channels;
        int bits_per_sample;
        int sample_rate;
    };

    // Makes the record chain of the path; null when it cannot.
    using RecordChainMaker = std::function<std::unique_ptr<audio::RecordChain>(const std::u16string& path)>;

    // Records into the path through the chain that `make` gives, in the
    // settings' format unless the chain is made for another. A running
    // recording ends first, its file closed whole; only then is the chain
    // made, so a refused start leaves the file as it was. Refused for what
    // plays and for what the running recording writes.
    bool start_recording(const RecordChainMaker& make, std::u16string path);
    bool start_recording(const RecordChainMaker& make, std::u16string path, const RecordFormat& format);
    // Over, or onto the end of, an existing file, in its own coding; refused
    // while a recording runs.
    bool record_overwrite(std::u16string path);
    bool record_append(std::u16string path);
    // A part for the target, put in at the position (reader units) when the
    // recording stops; refused while a recording runs.
    bool record_insert(std::u16string target, std::int64_t position);
    bool record_insert_current();

    // A recorded part that could not be put into its target.
    struct KeptPart {
        std::u16string part; // where it is kept, beside the target
        std::u16string target;
    };

    // The last such part, told once; empty when there is none.
    KeptPart take_kept_part();
    // When a task of the schedule covers the present time and nothing
    // records: starts its recording and gives its file. Otherwise registers
    // the next timed start and gives nothing.
    std::u16string start_scheduled_recording();
    // Null when no reader opens the file or its format cannot be captured.
    std::unique_ptr<audio::RecorderPCM> create_recorder_for(const std::u16string& path);
    // A record chain for the target in the source's coding; null when there
    // is none or its file cannot be written. length gets the source's length.
    std::unique_ptr<audio::RecordChain> create_record_chain_for(const std::u16string& source,
        const std::u16string& target, bool append, std::int64_t* length = nullptr);
    // Refused while a recording runs.
    bool prepare_record_target(const std::u16string& source, const std::u16string& target, bool append);
    // Whether the path is, or holds, a file that the recording writes to.
    bool is_file_in_use(const std::u16string& path) const;

    // Registers the program's timed start for the next task of the schedule,
    // or cancels it when none is left.
    void schedule_next_start();

    // Replaces where the document gets its chains and files; for tests.
    void set_media(std::unique_ptr<DocumentMedia> media);

    // What the play path and the recording are made of now
    // (model/PlaybackPath.h and model/RecordingSession.h tell the fields).
    PlayPathDescription describe_playback();
    RecordingDescription describe_recording();

private:
    // From the user, or following the item that ended on (the play path
    // then plays out what it holds of that one first).
    bool start_item(int index, std::int64_t start, bool follow_on);
    void set_level_index(int& field, int index);
    void end_of_item();
    // Stops once the player has played what it holds.
    void finish_playback();
    bool stop_playback();
    bool stop_recording(skinner::Form* parent);
    // Ends a running recording only, whatever plays.
    void end_recording();
    // Puts a finished insert's part into its target, or keeps it beside it.
    void finish_insert(const std::u16string& part_format);
    bool may_record_into(const std::u16string& path) const;
    std::u16string new_recording_path();
    bool record_onto(const std::u16string& path, bool append);
    void voice_activation();

    std::vector<View*> m_views;
    bool m_item_starting { false };
    // The last item has ended; the player still plays what it queued.
    bool m_finishing { false };
    std::u16string m_title;
    KeptPart m_kept_part;
    PlayQueue m_queue;
    RangeMarkList m_bookmarks;
    bool m_can_play { false };
    bool m_can_record { false };
    std::unique_ptr<PlaybackPath> m_playback;
    std::unique_ptr<RecordingSession> m_recording;
    Settings m_settings;
    Changes m_pending;
    liba::DateTime m_stop_time;
    std::unique_ptr<DocumentMedia> m_media;
};
