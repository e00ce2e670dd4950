#pragma once

#include "audio/chains/PlayChain.h"
#include "audio/devices/PlayerPCM.h"
#include "audio/filters/EqualizerPCM.h"
#include "audio/filters/FastPlay.h"
#include "audio/filters/LevelFilter.h"
#include "audio/filters/LevelMeter.h"
#include "audio/filters/NullProcessor.h"
#include "audio/filters/StretchFilter.h"
#include "liba/Nocopy.h"
#include "model/EqualizerBand.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What the play path is made of now, as tests and traces look at it.
struct PlayPathDescription {
    // From the head of the path ("null") to the player: "eq1".."eq3",
    // "fast", "stretch", "level", "meter", "player".
    std::vector<std::string> nodes;
    double speed;
    std::int32_t stretch_factor;
    // Where the reader stands, in its units; -1 when nothing plays.
    std::int64_t read_position;
};

// The document's play path: the chain of what plays, then the active
// equalizer bands, fast play, the stretch, the level filter, the output
// meter and the player. It knows where in the file the audio being heard
// is. Driven on the GUI thread; the player's thread asks it for positions
// under the player's lock.
class PlaybackPath : private liba::Nocopy {
public:
    PlaybackPath();
    ~PlaybackPath();

    PlayPathDescription describe();

    void set_volume(double volume) { m_player.set_volume(volume); }

    double get_volume() { return m_player.get_volume(); }

    // The stretch's factor and fast play's speed; whether fast play's speed changed.
    bool set_speed(double fast, std::int32_t factor);
    // Links the active bands between the head of the path and fast play.
    void apply_equalizer(const std::array<EqualizerBand, 3>& bands);
    // The level filter's curve values, starting afresh.
    void set_level_curve(std::int32_t booster, std::int32_t noise, std::int32_t limiter);

    bool is_playing() const { return m_play_chain != nullptr; }

    // Null while nothing plays.
    audio::PlayChain* chain() const { return m_play_chain.get(); }

    audio::FileReader* reader() const;
    bool has_pcm_output() const;
    // Takes the chain to play; the previous one must be unlinked.
    void set_chain(std::unique_ptr<audio::PlayChain> chain) { m_play_chain = std::move(chain); }

    // Plays the chain from where its reader stands. From the user the path
    // drops what it holds; following the item that ended on, it plays out
    // what it holds of that one first.
    bool start(bool follow_on);
    void unlink_play_chain();
    // Stops the player and drops the chain.
    void stop();
    // From what is heard, by signed seconds clamped to the item; to a
    // fraction 0..1 of the item. The path then starts over from the new place.
    bool skip(double seconds);
    bool seek(double fraction);
    void set_meter_paused(bool paused) { m_level_meter.set_paused(paused); }

    bool pause();
    bool resume();
    bool is_paused();
    // Whether the player has played all it queued.
    bool is_idle() { return m_player.is_idle(); }

    // False once the chain's file or the player has failed.
    bool is_ok();

    double output_level() { return m_level_meter.get_level(); }

    // The position of what is heard now, in reader seconds and reader units.
    double heard_seconds(audio::FileReader& r);
    std::int64_t heard_bytes(audio::FileReader& r);

private:
    // Under the player's lock: the filters and the player drop what they
    // hold, and positions start over from the reader's.
    void restart_play_path();
    // Where the audio that has left the play path ends in the file, in
    // reader seconds; run by the player's thread under the player's lock.
    audio::PlayerPCM::StreamPoint played_through();

    audio::PlayerPCM m_player;
    audio::EqualizerPCM m_equalizer[3];
    audio::NullProcessor<audio::PCMData> m_null_processor;
    audio::FastPlay m_fast_play;
    audio::LevelFilter m_level_filter;
    audio::StretchFilter m_stretch_filter;
    audio::LevelMeter m_level_meter;
    std::unique_ptr<audio::PlayChain> m_play_chain;
    // The chain the player's thread asks about positions; set and cleared
    // under the player's lock.
    audio::PlayChain* m_heard_chain { nullptr };
};
