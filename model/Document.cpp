#include "model/Document.h"

#include "audio/chains/PlayChain.h"
#include "audio/chains/RecordChain.h"
#include "audio/codecs/Encoder.h"
#include "audio/devices/RecorderPCM.h"
#include "audio/readers/FileReader.h"
#include "audio/writers/FileWriter.h"
#include "liba/Conversion.h"
#include "liba/Path.h"
#include "model/DocumentMedia.h"
#include "model/FileHelpers.h"
#include "model/InsertMerge.h"
#include "model/PlaybackPath.h"
#include "model/RecordingSession.h"
#include "os/File.h"
#include "os/FileInfo.h"
#include "os/FileSystem.h"
#include "os/Log.h"
#include "os/PathMacros.h"
#include "platform/core/TimedStart.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace {

Document* g_instance = nullptr;

// The level filter's curve values for the indices 0..3 of the settings.
constexpr std::int32_t level_table[] = { 0, 8, 32, 128 };

bool is_level_index(int index)
{
    return index >= 0 && index < static_cast<int>(std::size(level_table));
}

using liba::number_text;

// Removes the file when the recording never wrote to it (a disk full from
// the start), and its marks with it.
bool remove_if_never_written(const std::u16string& path)
{
    const os::FileInfo file(path);
    if (!file.exists() || file.is_directory() || file.size() != 0 || !os::FileInfo(path).remove())
        return false;
    os::FileInfo(bookmark_file_name(path)).remove();
    return true;
}

// A recording that starts over a file starts its marks afresh, on disk too.
void forget_bookmarks(const std::u16string& path)
{
    const std::u16string marks = bookmark_file_name(path);
    if (os::FileInfo(marks).exists() && !os::FileInfo(marks).remove())
        RangeMarkList().save(marks);
}

// Gives a part that could not go into its target a name beside it that the
// explorer lists, in the part's own coding; its marks go with it. The part's
// own name when it cannot be moved.
std::u16string keep_part(
    const std::u16string& part, const std::u16string& target, const std::u16string& format)
{
    const std::u16string name = unique_file_path(liba::get_directory(target),
        liba::get_file_title(target) + u" insert", format == u"mp3" ? u"mp3" : u"wav");
    if (name.empty() || !os::FileInfo(part).move_to(name))
        return part;
    const std::u16string marks = bookmark_file_name(part);
    if (os::FileInfo(marks).exists())
        os::FileInfo(marks).move_to(bookmark_file_name(name));
    return name;
}

}

Document::Changes::Changes(bool general, bool position, bool state, bool volume)
    : general(general)
    , position(position)
    , state(state)
    , volume(volume)
{
}

Document::View::View()
{
    if (Document* document = Document::instance())
        document->add_view(this);
}

Document::View::~View()
{
    if (Document* document = Document::instance())
        document->remove_view(this);
}

Document::Document()
    : m_playback(std::make_unique<PlaybackPath>())
    , m_recording(std::make_unique<RecordingSession>())
    , m_media(std::make_unique<DocumentMedia>())
{
    m_pending = Changes(true, true, true, true);
    if (g_instance)
        os::fatal_error(u"Document::Document()", u"Document is already instantiated");
    g_instance = this;
    m_settings.load(Settings::file_path());
    m_settings.apply_associations(!m_settings.associate_wav_cmd.empty(),
        !m_settings.associate_mp3_cmd.empty(), !m_settings.associate_m3u_cmd.empty(),
        !m_settings.associate_ogg_cmd.empty(), !m_settings.associate_wma_cmd.empty());
    apply_equalizer();

    m_recording->set_threshold(m_settings.vas);
    m_pending.volume = true;
    m_playback->set_volume(m_settings.volume);
    m_pending.state = true;
    m_recording->set_muted(!m_settings.input_enabled);
    set_input(m_settings.input);
    set_vas_threshold(m_settings.vas);
    set_speed(m_settings.speed, m_settings.pitch_lock);
}

// The play path lets go of its position probe and its last link as it goes.
Document::~Document()
{
    stop(nullptr);
    const Settings settings = m_settings;
    apply_settings(settings);
    g_instance = nullptr;
}

Document* Document::instance()
{
    return g_instance;
}

void Document::set_media(std::unique_ptr<DocumentMedia> media)
{
    m_media = media ? std::move(media) : std::make_unique<DocumentMedia>();
}

PlayPathDescription Document::describe_playback()
{
    return m_playback->describe();
}

RecordingDescription Document::describe_recording()
{
    return m_recording->describe();
}

// Views and notification.

void Document::add_view(View* view)
{
    if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void Document::remove_view(View* view)
{
    std::erase(m_views, view);
}

void Document::notify()
{
    notify(Changes());
}

void Document::notify(const Changes& changes)
{
    Changes merged(changes.general || m_pending.general, changes.position || m_pending.position,
        changes.state || m_pending.state, changes.volume || m_pending.volume);
    merged.path = m_pending.path;
    m_pending = Changes();
    // A view may go while another is updated; one that has gone is skipped.
    const std::vector<View*> views = m_views;
    for (View* view : views) {
        if (std::find(m_views.begin(), m_views.end(), view) != m_views.end())
            view->update(merged);
    }
}

// Settings applied to the audio objects.

void Document::set_volume(double volume)
{
    m_playback->set_volume(volume);
    m_settings.volume = m_playback->get_volume();
    m_pending.volume = true;
}

double Document::get_volume()
{
    return m_playback->get_volume();
}

void Document::set_input(double level)
{
    os::log() << u"Document::set_input" << level << u"\n";
    m_settings.input = level;
    m_recording->set_input_level(level);
    m_pending.state = true;
}

double Document::get_input()
{
    return m_recording->get_input_level();
}

void Document::set_input_enabled(bool enabled)
{
    m_settings.input_enabled = enabled;
    m_recording->set_muted(!enabled);
    m_pending.state = true;
}

bool Document::is_input_active()
{
    return m_recording->is_input_active();
}

void Document::set_vas_enabled(bool enabled)
{
    m_settings.vas_on = enabled;
    m_pending.state = true;
}

void Document::set_vas_threshold(double threshold)
{
    m_settings.vas = threshold;
    m_recording->set_threshold(threshold);
    m_pending.state = true;
}

bool Document::set_speed(double speed, bool pitch_lock)
{
    if (!std::isfinite(speed) || speed <= 0)
        return false;
    std::int32_t factor = 1;
    double fast = speed;
    if (pitch_lock) {
        fast = 1.0;
        if (speed > 0.75) {
            speed = 1.0;
        } else if (speed < 0.75) {
            speed = 0.5;
            factor = 2;
        }
    }
    m_settings.speed = speed;
    m_settings.pitch_lock = pitch_lock;
    m_pending.state = true;
    return m_playback->set_speed(fast, factor);
}

void Document::apply_equalizer()
{
    m_playback->apply_equalizer(m_settings.equalizer);
}

void Document::set_level_index(int& field, int index)
{
    if (!is_level_index(index))
        return;
    field = index;
    const Settings settings = m_settings;
    apply_settings(settings);
    apply_level_filter();
    m_pending.state = true;
}

void Document::set_noise_level(int index)
{
    set_level_index(m_settings.noise, index);
}

void Document::set_limiter_level(int index)
{
    set_level_index(m_settings.limiter, index);
}

void Document::set_booster_level(int index)
{
    set_level_index(m_settings.booster, index);
}

void Document::apply_level_filter()
{
    // A file edited by hand may hold any number: it counts as off.
    auto curve_of = [](int index) { return is_level_index(index) ? level_table[index] : 0; };
    m_playback->set_level_curve(
        curve_of(m_settings.booster), curve_of(m_settings.noise), curve_of(m_settings.limiter));
}

void Document::apply_settings(const Settings& settings)
{
    m_pending.state = true;
    m_settings = settings;
    m_settings.save(Settings::file_path());
    m_queue.rebuild(m_settings.play_mode);
    schedule_next_start();
}

void Document::set_can_play(bool can)
{
    m_can_play = can;
    m_pending.state = true;
}

void Document::set_can_record(bool can)
{
    m_can_record = can;
    m_pending.state = true;
}

bool Document::can_play() const
{
    return m_can_play && !is_recording();
}

bool Document::can_record() const
{
    return m_can_record && !is_playing();
}

// Queries.

bool Document::is_playing() const
{
    return m_playback->is_playing();
}

bool Document::is_recording() const
{
    return m_recording->is_recording();
}

const std::u16string& Document::get_record_file() const
{
    return m_recording->file();
}

int Document::get_sample_rate()
{
    if (auto* r = m_playback->reader())
        return r->get_sample_rate();
    return m_recording->recorder() ? m_recording->recorder()->get_sample_rate() : 0;
}

int Document::get_bits_per_sample()
{
    if (auto* r = m_playback->reader())
        return r->get_bits_per_sample();
    return m_recording->recorder() ? m_recording->recorder()->get_bits_per_sample() : 0;
}

int Document::get_bitrate_kbps()
{
    if (is_playing())
        return m_playback->reader() ? m_playback->reader()->get_bitrate() / 1000 : 0;
    if (m_recording->chain() && m_recording->chain()->get_encoder())
        return m_recording->chain()->get_encoder()->get_bitrate() / 1000;
    return 0;
}

bool Document::is_stereo()
{
    if (auto* r = m_playback->reader())
        return r->get_channels() == 2;
    return m_recording->recorder() && m_recording->recorder()->get_channels() == 2;
}

std::u16string Document::get_sample_rate_text()
{
    if (!is_playing() && !is_recording())
        return {};
    return number_text(get_sample_rate() / 1000) + u"kHz";
}

std::u16string Document::get_bits_text()
{
    if (!is_playing() && !is_recording())
        return {};
    return number_text(get_bits_per_sample()) + u"bit";
}

std::u16string Document::get_bitrate_text()
{
    if (!is_playing() && !is_recording())
        return {};
    return number_text(get_bitrate_kbps()) + u"kbps";
}

std::u16string Document::get_codec()
{
    if (m_playback->chain())
        return m_playback->chain()->get_format_name();
    if (m_recording->recorder())
        return m_recording->chain() ? m_recording->chain()->get_format_name() : std::u16string();
    return m_settings.codec;
}

std::u16string Document::get_title() const
{
    return is_playing() || is_recording() ? m_title : std::u16string();
}

std::u16string Document::get_current_file() const
{
    if (is_playing() || m_item_starting)
        return m_queue.current().path;
    return is_recording() ? m_recording->file() : std::u16string();
}

double Document::get_output_level(int)
{
    return is_playing() ? m_playback->output_level() : 0.0;
}

double Document::get_input_level(int)
{
    if (is_playing() || !is_recording())
        return 0.0;
    return is_input_active() ? m_recording->input_level() : 0.0;
}

double Document::get_vas_level(int channel)
{
    return m_settings.vas_on ? get_input_level(channel) : 0.0;
}

bool Document::is_ok()
{
    if (is_playing())
        return m_playback->is_ok();
    if (is_recording())
        return m_recording->is_ok();
    return !m_item_starting;
}

double Document::get_remaining_seconds()
{
    if (auto* r = m_playback->reader())
        return std::max(0.0, r->get_length() - m_playback->heard_seconds(*r));
    if (!is_recording() || !m_recording->chain() || !m_recording->chain()->get_encoder())
        return 0.0;
    const int bitrate = m_recording->chain()->get_encoder()->get_bitrate();
    if (bitrate <= 0)
        return 0.0;
    return os::get_free_space(liba::get_directory(m_recording->file())) * 8.0 / bitrate;
}

// Playback.

void Document::set_play_list(
    std::u16string name, std::vector<playlist::Entry> entries, int current, bool segments_only)
{
    m_pending.state = true;
    m_queue.set(std::move(name), std::move(entries), current, segments_only, m_settings.play_mode);
}

void Document::set_play_mode(PlayMode mode)
{
    const int number = static_cast<int>(mode);
    if (number < static_cast<int>(PlayMode::SingleOnce)
        || number > static_cast<int>(PlayMode::PlaylistShuffle))
        return;
    m_pending.state = true;
    m_settings.play_mode = mode;
    m_queue.rebuild(mode);
}

bool Document::play_item(int index, std::int64_t start)
{
    return start_item(index, start, false);
}

bool Document::start_item(int index, std::int64_t start, bool follow_on)
{
    // One thing at a time: a recording goes on undisturbed.
    if (is_recording()) {
        m_pending.state = true;
        return false;
    }
    index = m_queue.choose(index, m_settings.play_mode);
    if (index < 0 || index >= get_item_count()) {
        m_title.clear();
        m_pending.state = true;
        return false;
    }
    m_item_starting = true;
    m_finishing = false;
    const playlist::Entry& item = m_queue.select(index);
    m_playback->unlink_play_chain();
    const std::u16string& path = item.path;
    os::log() << u"play item: " << path << u"\n";
    m_bookmarks = RangeMarkList::load(bookmark_file_name(path));
    m_playback->set_chain(m_media->open_play_chain(path, m_queue.segments_only() ? &m_bookmarks : nullptr));
    m_pending.state = true;
    if (!m_playback->chain()) {
        m_title.clear();
        return false;
    }
    auto title = item.attributes.find(u"title");
    m_title = title != item.attributes.end() ? title->second : std::u16string();
    if (m_title.empty())
        m_title = m_playback->chain()->get_title();
    if (start != 0 && m_playback->reader())
        m_playback->reader()->seek_bytes(start);
    return m_playback->start(follow_on);
}

bool Document::play_relative(int step)
{
    return play_item(m_queue.advance(step), 0);
}

bool Document::has_next() const
{
    return is_playing() && m_queue.has_next();
}

bool Document::has_previous() const
{
    return is_playing() && m_queue.has_previous();
}

// From what is heard; the play path then starts over from the new place.
bool Document::skip(double seconds)
{
    m_pending.position = true;
    return m_playback->skip(seconds);
}

bool Document::seek(double fraction)
{
    m_pending.position = true;
    return m_playback->seek(fraction);
}

bool Document::pause()
{
    m_playback->set_meter_paused(true);
    if (is_playing()) {
        m_pending.state = true;
        return m_playback->pause();
    }
    if (is_recording() && !is_paused()) {
        m_pending.state = true;
        m_recording->pause();
        return true;
    }
    return false;
}

bool Document::resume()
{
    m_playback->set_meter_paused(false);
    m_pending.state = true;
    if (is_playing())
        return m_playback->resume();
    if (is_recording()) {
        m_recording->resume();
        return true;
    }
    return false;
}

bool Document::is_paused()
{
    if (is_recording())
        return m_recording->is_paused();
    if (is_playing())
        return m_playback->is_paused();
    return false;
}

double Document::get_position_seconds()
{
    if (auto* r = m_playback->reader())
        return m_playback->heard_seconds(*r);
    return is_recording() ? m_recording->seconds() : 0.0;
}

double Document::get_position_fraction()
{
    auto* r = m_playback->reader();
    if (!r)
        return 0.0;
    const std::int64_t length = r->get_length_bytes();
    return length > 0 ? double(m_playback->heard_bytes(*r)) / double(length) : 0.0;
}

std::int64_t Document::get_length()
{
    if (auto* r = m_playback->reader())
        return r->get_length_bytes();
    if (is_recording() && m_recording->chain() && m_recording->chain()->get_writer())
        return m_recording->chain()->get_writer()->get_data_size();
    return 0;
}

std::int64_t Document::get_position()
{
    if (auto* r = m_playback->reader())
        return m_playback->heard_bytes(*r);
    return is_recording() ? get_length() : 0;
}

void Document::finish_playback()
{
    if (m_playback->has_pcm_output() && !m_playback->is_idle()) {
        m_finishing = true;
        return;
    }
    stop(nullptr);
}

void Document::end_of_item()
{
    if (const std::optional<int> next = m_queue.after_end(m_settings.play_mode))
        start_item(*next, 0, true);
    else
        finish_playback();
}

void Document::on_timer()
{
    if (m_finishing && m_playback->is_idle()) {
        stop(nullptr);
        notify(Changes(false, true, true, false));
    }
    if (m_item_starting) {
        auto* r = m_playback->reader();
        if (!r || r->is_end()) {
            m_item_starting = false;
            end_of_item();
            notify(Changes(false, true, true, false));
        }
    }
    if (is_recording()) {
        voice_activation();
        if (m_stop_time.file_time() != 0 && liba::DateTime::now().is_after(m_stop_time)) {
            stop(nullptr);
            notify();
        }
    }
    if (is_recording() && m_recording->chain() && !m_recording->chain()->get_writer()->is_ok()) {
        stop(nullptr);
        notify();
    }
    if (is_playing() || is_recording())
        notify(Changes(false, true, false, false));
}

// A silence pauses the recording with a mark; sound resumes it, whoever paused.
void Document::voice_activation()
{
    if (!m_settings.vas_on)
        return;
    const bool silent = m_recording->is_silent();
    if (silent && !is_paused()) {
        pause();
        add_bookmark();
        notify();
    } else if (!silent && is_paused()) {
        resume();
        notify();
    }
}

bool Document::stop_playback()
{
    m_playback->stop();
    m_queue.clear_current();
    return true;
}

bool Document::stop(skinner::Form* parent)
{
    m_pending.state = true;
    m_item_starting = false;
    m_finishing = false;
    m_stop_time = liba::DateTime();
    if (is_playing())
        return stop_playback();
    if (is_recording())
        return stop_recording(parent);
    return false;
}

bool Document::stop_recording(skinner::Form* parent)
{
    m_pending.path = m_recording->file();
    const std::u16string format = m_recording->chain() ? m_recording->chain()->get_format_name() : std::u16string();
    // A writer that failed before its first byte (a full disk) leaves a file
    // with nothing in it; one stopped before any audio came keeps its file.
    const bool failed = m_recording->finish(parent);
    const bool nothing_kept = failed && remove_if_never_written(m_recording->file());
    if (!m_recording->insert_target().empty()) {
        if (nothing_kept) {
            m_recording->clear_insert_target();
            m_recording->set_file({});
        } else {
            finish_insert(format);
        }
    }
    return true;
}

void Document::end_recording()
{
    m_pending.state = true;
    m_stop_time = liba::DateTime();
    stop_recording(nullptr);
}

void Document::finish_insert(const std::u16string& part_format)
{
    const std::u16string target = m_recording->insert_target();
    const std::u16string part = m_recording->file();
    const std::int64_t position = m_recording->insert_position();
    m_recording->clear_insert_target();
    m_recording->set_file({});
    // The finished recording is where its audio now is.
    if (merge_insert(*m_media, target, part, position, m_bookmarks)) {
        m_pending.path = target;
        return;
    }
    m_kept_part = { keep_part(part, target, part_format), target };
    m_pending.path = m_kept_part.part;
    os::log() << u"Document: the part for " << target << u" is kept in " << m_kept_part.part << u"\n";
}

Document::KeptPart Document::take_kept_part()
{
    return std::exchange(m_kept_part, {});
}

// Recording.

bool Document::may_record_into(const std::u16string& path) const
{
    return !path.empty() && !is_file_in_use(path)
        && !(is_playing() && liba::paths_equal(path, m_queue.current().path));
}

bool Document::is_file_in_use(const std::u16string& path) const
{
    return m_recording->is_file_in_use(path);
}

// A name no file has yet, created empty so that it stays ours; in the
// documents folder when the record folder refuses it.
std::u16string Document::new_recording_path()
{
    const std::u16string extension = m_settings.codec == u"mp3" ? u"mp3" : u"wav";
    std::u16string path = m_settings.include_date
        ? recording_file_name(m_recording->file(), m_settings.prefix, extension)
        : unique_file_path(m_recording->file(), m_settings.prefix, extension);
    auto created = [](const std::u16string& name) {
        return !name.empty() && os::File(name, os::File::Mode::write).is_ok();
    };
    if (created(path))
        return path;
    path = recording_file_name(os::expand_path_macros(u"%my_documents%"), m_settings.prefix, extension);
    return created(path) ? path : std::u16string();
}

bool Document::record(const std::u16string& folder)
{
    m_pending.state = true;
    // Playback, then a running recording: its file is closed whole.
    stop(nullptr);
    if (is_recording())
        stop(nullptr);
    // The folder stands in the record file's place until the file is named.
    m_recording->set_file(folder);
    if (m_settings.default_folder) {
        m_recording->set_file(m_settings.folder);
        if (m_settings.date_folder) {
            const liba::DateTime today = liba::DateTime::now();
            m_recording->set_file(liba::join_path(m_recording->file(),
                number_text(today.year()) + u"-" + two_digit_text(today.month()) + u"-"
                    + two_digit_text(today.day())));
            os::create_directories(m_recording->file());
        }
    }
    const std::u16string path = new_recording_path();
    if (path.empty()) {
        os::log() << u"Document::record: no new file in " << m_recording->file() << u"\n";
        return false;
    }
    m_recording->set_file(path);
    const bool started = start_recording(
        [this](const std::u16string& target) {
            return m_media->create_record_chain(target, m_settings.codec, m_settings.channels,
                m_settings.bits, m_settings.samples, m_settings.bitrate, false);
        },
        path);
    if (!started && !is_recording())
        remove_if_never_written(path); // the empty file made to hold the name
    return started;
}

bool Document::start_recording(const RecordChainMaker& make, std::u16string path)
{
    return start_recording(
        make, std::move(path), { m_settings.channels, m_settings.bits, m_settings.samples });
}

bool Document::start_recording(const RecordChainMaker& make, std::u16string path, const RecordFormat& format)
{
    m_pending.state = true;
    if (!may_record_into(path))
        return false;
    if (is_recording())
        end_recording();
    auto chain = make(path);
    if (!chain || !chain->get_writer() || !chain->get_writer()->is_ok())
        return false;
    forget_bookmarks(path);
    m_recording->set_file(std::move(path));
    m_title = liba::get_file_name(m_recording->file());
    m_bookmarks = RangeMarkList();
    // The views show the new file rather than one that has just ended.
    if (!m_pending.path.empty())
        m_pending.path = m_recording->file();
    m_recording->link(
        std::make_unique<audio::RecorderPCM>(format.channels, format.sample_rate, format.bits_per_sample),
        std::move(chain));
    return m_recording->start();
}

std::unique_ptr<audio::RecorderPCM> Document::create_recorder_for(const std::u16string& path)
{
    auto chain = m_media->open_play_chain(path, nullptr);
    if (!chain)
        return nullptr;
    audio::FileReader* r = chain->get_reader();
    const int channels = r->get_channels(), bits = r->get_bits_per_sample(), rate = r->get_sample_rate();
    chain.reset();
    auto recorder = std::make_unique<audio::RecorderPCM>(channels, rate, bits);
    return recorder->is_recording() ? std::move(recorder) : nullptr;
}

std::unique_ptr<audio::RecordChain> Document::create_record_chain_for(
    const std::u16string& source, const std::u16string& target, bool append, std::int64_t* length)
{
    auto play = m_media->open_play_chain(source, nullptr);
    if (!play)
        return nullptr;
    audio::FileReader* r = play->get_reader();
    const std::u16string format = play->get_format_name();
    const int channels = r->get_channels(), bits = r->get_bits_per_sample(), rate = r->get_sample_rate();
    const int bitrate = r->get_bitrate();
    if (length)
        *length = r->get_length_bytes();
    play.reset();
    auto chain = m_media->create_record_chain(target, format, channels, bits, rate, bitrate, append);
    if (!chain || !chain->get_writer() || !chain->get_writer()->is_ok())
        return nullptr;
    return chain;
}

bool Document::prepare_record_target(const std::u16string& source, const std::u16string& target, bool append)
{
    // Replacing the chain of a running recording would cut its file short.
    if (is_recording())
        return false;
    std::int64_t length = 0;
    auto recorder = create_recorder_for(source);
    std::unique_ptr<audio::RecordChain> chain;
    if (recorder)
        chain = create_record_chain_for(source, target, append, &length);
    if (!recorder || !chain)
        return false;
    m_bookmarks = RangeMarkList();
    if (append) {
        m_bookmarks = RangeMarkList::load(bookmark_file_name(source));
        m_bookmarks.add(length, u"Bookmark");
        m_bookmarks.save(bookmark_file_name(source));
    } else {
        forget_bookmarks(target);
    }
    m_recording->set_file(target);
    m_recording->link(std::move(recorder), std::move(chain));
    return true;
}

bool Document::record_onto(const std::u16string& path, bool append)
{
    m_pending.state = true;
    if (is_recording() || !may_record_into(path) || !prepare_record_target(path, path, append))
        return false;
    m_title = liba::get_file_name(path);
    return m_recording->start();
}

bool Document::record_overwrite(std::u16string path)
{
    return record_onto(path, false);
}

bool Document::record_append(std::u16string path)
{
    return record_onto(path, true);
}

bool Document::record_insert(std::u16string target, std::int64_t position)
{
    m_pending.state = true;
    if (is_recording() || target.empty())
        return false;
    stop(nullptr);
    m_recording->set_insert(target, position);
    const std::u16string part = unique_file_path(liba::get_directory(target), u"insert", u"tmp");
    if (!part.empty() && prepare_record_target(target, part, false)) {
        m_title = liba::get_file_name(part) + u" for " + liba::get_file_name(target);
        if (m_recording->start())
            return true;
    }
    m_recording->clear_insert_target();
    return false;
}

bool Document::record_insert_current()
{
    m_pending.state = true;
    auto* r = m_playback->reader();
    if (!r)
        return false;
    return record_insert(m_queue.current().path, m_playback->heard_bytes(*r));
}

std::u16string Document::start_scheduled_recording()
{
    const int task = is_recording() ? -1 : m_settings.schedule.find_containing(liba::DateTime::now());
    if (task < 0) {
        schedule_next_start();
        return {};
    }
    const liba::DateTime end = m_settings.schedule[task].end;
    const bool started = record(m_settings.folder);
    notify();
    if (started)
        m_stop_time = end;
    m_settings.schedule.remove(task);
    const Settings settings = m_settings;
    apply_settings(settings);
    return started ? m_recording->file() : std::u16string();
}

void Document::schedule_next_start()
{
    const std::u16string program = os::expand_path_macros(u"%app_full_name%");
    const int next = m_settings.schedule.find_next(liba::DateTime::now());
    std::optional<platform::SystemTime> time;
    if (next >= 0)
        time = m_settings.schedule[next].begin.system_time();
    platform::timed_start_slot().get().run_app_at_time(program, time);
}

// Bookmarks.

void Document::add_bookmark(const std::u16string& name)
{
    m_pending.position = true;
    if (auto* r = m_playback->reader()) {
        m_bookmarks.add(m_playback->heard_bytes(*r), name);
        m_bookmarks.save(bookmark_file_name(m_queue.current().path));
    } else if (is_recording() && m_recording->chain() && m_recording->chain()->get_writer()) {
        m_bookmarks.add(m_recording->chain()->get_writer()->get_data_size(), name);
        m_bookmarks.save(bookmark_file_name(m_recording->file()));
    }
}

bool Document::load_bookmarks()
{
    if (!is_playing() && !is_recording())
        return false;
    m_bookmarks = RangeMarkList::load(bookmark_file_name(get_current_file()));
    return true;
}
