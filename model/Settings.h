#pragma once

#include "model/EqualizerBand.h"
#include "model/PlayMode.h"
#include "model/Schedule.h"
#include "model/SortMode.h"

#include <array>
#include <string>
#include <vector>

// Everything the user can configure. A plain value record: the settings
// dialog edits a copy and hands the whole record back.
class Settings {
public:
    // The defaults; one empty key command per hardware key of the device.
    Settings();

    // Reads what the file holds over the record's values: whatever is
    // missing or unreadable keeps its value. A missing or malformed file
    // changes nothing but the schedule, which it empties.
    void load(const std::u16string& path);
    // Writes the whole record, replacing the file atomically; false when it
    // could not be written, and the old file then stays as it was.
    bool save(const std::u16string& path) const;

    // Takes each type over (true) or gives it back (false), keeping what it
    // replaced in the associate_*_cmd and associate_*_icon fields.
    void apply_associations(bool wav, bool mp3, bool m3u, bool ogg, bool wma);

    // The language file in the program's folder, its macro not expanded.
    std::u16string language_file() const;
    // Where the settings live: "Orvanta.xml" in the program's folder.
    static std::u16string file_path();

    // Recording.
    int channels { 1 };
    int bits { 16 };
    int samples { 22050 };
    int bitrate { 32000 };
    std::u16string codec { u"mp3" }; // "PCM", "mp3", "ADPCM" or "GSM"
    bool default_folder { false }; // record into folder, not the explorer's folder
    std::u16string folder;
    bool date_folder { false }; // with default_folder: a sub-folder per day
    std::u16string prefix;
    bool include_date { false }; // name recordings by date and time, not by number
    int record_turn_off { 0 }; // seconds; 0 never

    // Playback.
    double volume { 1.0 };
    PlayMode play_mode { PlayMode::SingleOnce };
    int play_turn_off { 0 };

    // What each type's handler was before this program took it over;
    // a command that is not empty means the type is this program's.
    std::u16string associate_mp3_cmd;
    std::u16string associate_wav_cmd;
    std::u16string associate_m3u_cmd;
    std::u16string associate_ogg_cmd;
    std::u16string associate_wma_cmd;
    std::u16string associate_mp3_icon;
    std::u16string associate_wav_icon;
    std::u16string associate_m3u_icon;
    std::u16string associate_ogg_icon;
    std::u16string associate_wma_icon;

    // Voice activation and input.
    bool vas_on { false };
    bool input_enabled { true }; // not stored: every start records
    double vas { 0.5 };
    double input { 0.5 };

    // Hardware keys: a command name per key index, empty for none.
    std::vector<std::u16string> buttons;
    bool unmap_when_inactive { true };
    std::u16string joy_left_action { u"Rewind" };
    std::u16string joy_right_action { u"Forward" };

    std::array<EqualizerBand, 3> equalizer {
        EqualizerBand(200.0, 0.0, 0.0, false),
        EqualizerBand(400.0, 0.0, 0.0, false),
        EqualizerBand(800.0, 0.0, 0.0, false),
    };

    // File explorer.
    bool show_folders { true };
    std::u16string explorer_folder;
    SortMode sort { SortMode::Name };

    double speed { 1.0 };
    bool pitch_lock { false };

    Schedule schedule;

    // Level filter indices, 0..3.
    int booster { 0 };
    int noise { 0 };
    int limiter { 0 };

    std::u16string language { u"English" };
    std::u16string skin; // keeps its "%app_path%" macro
};
