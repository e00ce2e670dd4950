#include "app/MainForm.h"

#include "app/FormAbout.h"
#include "app/SettingsSkinStore.h"
#include "app/settings/SettingsForm.h"
#include "dialogs/ErrorForm.h"
#include "liba/Path.h"
#include "model/FileHelpers.h"
#include "liba/StringTranslator.h"
#include "model/ipc/Comm.h"
#include "os/Log.h"
#include "os/PathMacros.h"
#include "os/Shell.h"
#include "platform/core/SleepInhibitor.h"
#include "platform/core/Launcher.h"
#include "platform/ui/WindowManager.h"
#include "skinner/skin/ScreenMetrics.h"

#include <algorithm>
#include <cctype>
#include <utility>

using liba::literals::operator""_key;

namespace {

const Document::Changes general_change { true, false, false, false };
const Document::Changes position_change { false, true, false, false };
const Document::Changes volume_change { false, false, false, true };
const Document::Changes all_changes { true, true, true, true };
const Document::Changes no_change {};

// The button that a click turns into a command.
struct ButtonCommand {
    std::u16string_view button;
    std::u16string_view command;
};

constexpr ButtonCommand button_commands[] {
    { u"btnForward", u"Next" },
    { u"btnRewind", u"Prev" },
    { u"btnPlay", u"Play" },
    { u"btnRecord", u"Record" },
    { u"btnStop", u"Stop" },
    { u"btnMode", u"Panel" },
    { u"btnClockMode", u"ClockMode" },
    { u"btnNewMark", u"NewBookmark" },
};

struct FileMenuEntry {
    std::u16string_view command;
    bool separator_after;
};

constexpr FileMenuEntry file_menu[] {
    { u"Settings", true },
    { u"Help", false },
    { u"About", false },
    { u"Exit", true },
};

std::u16string lower_extension(const std::u16string& path)
{
    const auto dot = path.find_last_of(u'.');
    const auto slash = path.find_last_of(u"/\\");
    if (dot == std::u16string::npos || (slash != std::u16string::npos && dot < slash))
        return {};
    std::u16string extension = path.substr(dot + 1);
    for (char16_t& c : extension)
        if (c < 128)
            c = static_cast<char16_t>(std::tolower(static_cast<int>(c)));
    return extension;
}

std::u16string skins_file(std::u16string_view folder, std::u16string_view name)
{
    return liba::join_path(liba::join_path(os::skins_folder(), folder), name);
}

}

// Each command with what it changes: the views are told once it has run.
const MainForm::NamedCommand MainForm::s_commands[] {
    { u"Settings", &MainForm::command_settings, CommandChanges::pending },
    { u"Mode", &MainForm::command_mode, CommandChanges::general },
    { u"Exit", &MainForm::command_exit, CommandChanges::silent },
    { u"Next", &MainForm::command_next, CommandChanges::pending },
    { u"Prev", &MainForm::command_prev, CommandChanges::pending },
    { u"Play", &MainForm::command_play, CommandChanges::pending },
    { u"PlayStop", &MainForm::command_play_stop, CommandChanges::pending },
    { u"Record", &MainForm::command_record, CommandChanges::pending },
    { u"RecordStop", &MainForm::command_record_stop, CommandChanges::pending },
    { u"Forward", &MainForm::command_forward, CommandChanges::pending },
    { u"Rewind", &MainForm::command_rewind, CommandChanges::pending },
    { u"Stop", &MainForm::command_stop, CommandChanges::pending },
    { u"VolumeUp", &MainForm::command_volume_up, CommandChanges::volume },
    { u"VolumeDown", &MainForm::command_volume_down, CommandChanges::volume },
    { u"Panel", &MainForm::command_panel, CommandChanges::general },
    { u"ClockMode", &MainForm::command_clock_mode, CommandChanges::silent },
    { u"NewBookmark", &MainForm::command_new_bookmark, CommandChanges::pending },
    { u"Help", &MainForm::command_help, CommandChanges::silent },
    { u"About", &MainForm::command_about, CommandChanges::general },
    { u"#ScreenResolution#", &MainForm::command_screen_resolution, CommandChanges::all },
};

MainForm::MainForm(skinner::Properties& properties, std::u16string_view name)
    : Form(nullptr, properties, name)
    , m_explorer(*this, u"PanelFileExplorer")
    , m_levels(*this, u"PanelLevels")
    , m_equalizer(*this, u"PanelEqualizer")
    , m_more_controls(*this, u"PanelMoreControls")
    , m_new_mark(*this, u"btnNewMark")
    , m_rewind(*this, u"btnRewind")
    , m_forward(*this, u"btnForward")
    , m_play(2, *this, u"btnPlay")
    , m_record(2, *this, u"btnRecord")
    , m_stop(*this, u"btnStop")
    , m_output(*this, u"pbOutput")
    , m_position(*this, u"pbPosition")
    , m_mode(4, *this, u"btnMode")
    , m_rec_indicator(*this, u"checkRec")
    , m_play_indicator(*this, u"checkPlay")
    , m_stereo(*this, u"checkStereo")
    , m_speed(*this, u"frmSpeed")
    , m_vas(*this, u"checkVAS")
    , m_info(*this, u"frmInfo")
    , m_title(*this, u"frmTitle")
    , m_clock(*this, u"Clock")
    , m_clock_mode(*this, u"btnClockMode")
    , m_menu(*this, u"MainMenu")
    , m_file_button(*this, u"File", u"File", 1)
    , m_mode_button(*this, u"Mode", u"", 2)
    , m_keys(*this)
    , m_power(*this)
    , m_comm(document(), *this)
{
    show(false);
    m_vas.set_enabled(false);
    m_speed.set_enabled(false);
    m_stereo.set_enabled(false);
    m_explorer.set_visible(true);
    m_levels.set_visible(false);
    m_equalizer.set_visible(false);
    m_more_controls.set_visible(false);
    const Settings& settings = document().get_settings();
    m_power.set_interval(static_cast<double>(settings.play_turn_off));
    m_keys.set_release_on_deactivate(settings.unmap_when_inactive);
    m_timer_id = set_timer(0.2);
    assign_hardware_keys(settings);

    comm_init();
    using Handler = std::int32_t (CommCommands::*)();
    static constexpr std::pair<CommCommand, Handler> handlers[] {
        { CommCommand::play_file, &CommCommands::on_comm_play_file },
        { CommCommand::record, &CommCommands::on_comm_record },
        { CommCommand::record_overwrite, &CommCommands::on_comm_record_overwrite },
        { CommCommand::record_append, &CommCommands::on_comm_record_append },
        { CommCommand::record_insert, &CommCommands::on_comm_record_insert },
        { CommCommand::pause, &CommCommands::on_comm_pause },
        { CommCommand::stop, &CommCommands::on_comm_stop },
        { CommCommand::get_status, &CommCommands::on_comm_get_status },
        { CommCommand::play_offset, &CommCommands::on_comm_play_offset },
    };
    for (const auto& [id, handler] : handlers) {
        m_comm_delegates.push_back(std::make_unique<CMethodCommandDelegate<CommCommands>>(m_comm, handler));
        register_command(id, m_comm_delegates.back().get());
    }

    m_mode_button.set_image_index(static_cast<std::int32_t>(document().get_play_mode()));
    m_mode_button.set_separator_after(true);
}

MainForm::~MainForm()
{
    // The handlers die with this form; the channel itself lives on.
    for (std::int32_t id = 0; id < static_cast<std::int32_t>(m_comm_delegates.size()); ++id)
        register_command(id, nullptr);
    if (m_timer_id != 0)
        kill_timer(m_timer_id);
    platform::sleep_inhibitor().release();
}

void MainForm::assign_hardware_keys(const Settings& settings)
{
    const auto count = static_cast<std::size_t>(std::max(skinner::HardwareKeys::get_key_count(), 0));
    for (std::size_t i = 0; i < count; ++i)
        m_keys.register_key(i, i < settings.buttons.size() ? std::u16string_view(settings.buttons[i]) : u"");
}

void MainForm::show_panel_for_mode()
{
    const std::uint32_t state = m_mode.get_state();
    m_explorer.set_visible(state == 0);
    m_levels.set_visible(state == 1);
    m_equalizer.set_visible(state == 2);
    m_more_controls.set_visible(state == 3);
}

void MainForm::set_shown(bool shown)
{
    if (is_window_visible() != shown) {
        show(shown);
        if (shown)
            document().notify(general_change);
    }
    if (shown)
        window().set_foreground();
    const skinner::Size size = get_size();
    const skinner::Point position = get_window_position();
    os::log() << u"Size = " << size.width << u" " << size.height << u"\n";
    os::log() << u"Position = " << position.x << u" " << position.y << u"\n";
}

bool MainForm::on_build_menu(skinner::Control&, skinner::MenuEntry& menu)
{
    if (menu.id != u"File")
        return true;
    for (const FileMenuEntry& entry : file_menu) {
        skinner::MenuEntry item(entry.command, properties().translate(entry.command));
        item.owner = this;
        item.separator_after = entry.separator_after;
        menu.children.push_back(std::move(item));
    }
    return true;
}

// Commands

bool MainForm::on_command(std::u16string_view command)
{
    execute_command(command);
    return true;
}

void MainForm::execute_command(std::u16string_view command)
{
    for (const NamedCommand& named : s_commands) {
        if (named.name == command) {
            (this->*named.run)();
            notify_after(named);
            return;
        }
    }
    m_explorer.execute_command(command);
}

void MainForm::notify_after(const NamedCommand& command)
{
    switch (command.changes) {
    case CommandChanges::silent:
        return;
    case CommandChanges::pending:
        document().notify(no_change);
        break;
    case CommandChanges::general:
        document().notify(general_change);
        break;
    case CommandChanges::volume:
        document().notify(volume_change);
        break;
    case CommandChanges::all:
        document().notify(all_changes);
        break;
    }
    if (const std::optional<CommandError> error = std::exchange(m_command_error, std::nullopt))
        show_error(error->caption_key, error->message_key);
}

bool MainForm::on_click(skinner::Control& sender)
{
    for (const ButtonCommand& entry : button_commands) {
        if (entry.button == sender.id()) {
            execute_command(entry.command);
            return true;
        }
    }
    return false;
}

bool MainForm::on_value_changed(skinner::Control& sender, double value)
{
    if (&sender == &m_output) {
        document().set_volume(value);
        document().notify(volume_change);
    } else if (&sender == &m_position) {
        document().seek(value);
        document().notify(position_change);
    }
    return true;
}

bool MainForm::on_keydown(skinner::KeyCode key)
{
    namespace key_code = skinner::key;
    const Settings& settings = document().get_settings();
    if ((key == key_code::up || key == key_code::down || key == key_code::enter) && m_explorer.is_visible())
        return m_explorer.on_key(key);
    const bool is_left
        = key == key_code::left || key == key_code::up || key == key_code::down || key == key_code::enter;
    if (is_left && !settings.joy_left_action.empty()) {
        execute_command(std::u16string(settings.joy_left_action));
        return true;
    }
    if ((is_left || key == key_code::right) && !settings.joy_right_action.empty()) {
        execute_command(std::u16string(settings.joy_right_action));
        return true;
    }
    return Form::on_keydown(key);
}

void MainForm::command_settings()
{
    Settings copy = document().get_settings();
    {
        SettingsForm form(this, get_settings_skin(), copy);
        form.do_modal();
    }
    document().apply_settings(copy);
    assign_hardware_keys(copy);
    m_keys.set_release_on_deactivate(copy.unmap_when_inactive);
    update_power_interval();
    m_mode_button.set_image_index(static_cast<std::int32_t>(document().get_play_mode()));
}

void MainForm::update_power_interval()
{
    const Settings& settings = document().get_settings();
    m_power.set_interval(
        static_cast<double>(m_playback_interval ? settings.play_turn_off : settings.record_turn_off));
}

void MainForm::command_mode()
{
    const int next = (static_cast<int>(document().get_play_mode()) + 1) % 5;
    document().set_play_mode(static_cast<PlayMode>(next));
    m_mode_button.set_image_index(static_cast<std::int32_t>(document().get_play_mode()));
}

void MainForm::command_exit()
{
    close();
}

void MainForm::command_next()
{
    document().play_next();
}

void MainForm::command_prev()
{
    document().play_previous();
}

void MainForm::command_play()
{
    Document& doc = document();
    if (!doc.is_playing())
        m_explorer.play_selection();
    else if (doc.is_paused())
        doc.resume();
    else
        doc.pause();
}

void MainForm::command_play_stop()
{
    if (!document().is_playing()) {
        command_play();
        return;
    }
    document().stop(nullptr);
}

void MainForm::command_record()
{
    Document& doc = document();
    if (!doc.is_recording()) {
        // A device that fails is reported by the tick; a file that cannot
        // even be made leaves nothing for the tick to see.
        if (!doc.record(m_explorer.get_folder()) && !doc.is_recording()) {
            m_command_error = CommandError { u"on_record_failed_caption", u"on_record_failed" };
            return;
        }
        m_explorer.select_path(doc.get_record_file());
    } else if (doc.is_paused()) {
        doc.resume();
    } else {
        doc.pause();
    }
}

void MainForm::command_record_stop()
{
    if (!document().is_recording()) {
        command_record();
        return;
    }
    document().stop(nullptr);
}

void MainForm::command_forward()
{
    document().skip(5.0);
}

void MainForm::command_rewind()
{
    document().skip(-5.0);
}

void MainForm::command_stop()
{
    document().stop(this);
}

void MainForm::command_volume_up()
{
    document().set_volume(document().get_volume() + 0.1);
}

void MainForm::command_volume_down()
{
    document().set_volume(document().get_volume() - 0.1);
}

void MainForm::command_panel()
{
    show_panel_for_mode();
}

void MainForm::command_clock_mode()
{
    m_clock.switch_mode(m_clock.get_mode() == 0);
}

void MainForm::command_new_bookmark()
{
    document().add_bookmark(u"Bookmark");
}

void MainForm::command_help()
{
    if (!platform::is_installed(platform::desktop_opener())) {
        show_error(u"on_no_help_opener_caption"_key, u"on_no_desktop_opener"_key);
        return;
    }
    os::execute_file(liba::join_path(u"%app_path%", properties().translate(u"Help_link")), u"");
}

void MainForm::command_about()
{
    skinner::Properties store;
    store.load_skin_and_language(skins_file(u"settings", u"dialogs.skin"),
        document().get_settings().language_file(), skinner::get_screen_size());
    {
        FormAbout form(this, store, u"Qiro Orvanta v1.8", u"About");
        form.do_modal();
    }
}

void MainForm::command_screen_resolution()
{
    const Settings& settings = document().get_settings();
    properties().load_skin_and_language(settings.skin, settings.language_file(), skinner::get_screen_size());
}

void MainForm::show_error(std::u16string_view caption_key, std::u16string_view message_key,
    std::u16string_view source, std::u16string_view target)
{
    skinner::Properties& store = get_settings_skin();
    ErrorForm form(this, store);
    const std::u16string message
        = replace_all(replace_all(store.translate(message_key), u"%src%", source), u"%dst%", target);
    form.set_texts(store.translate(caption_key), message);
    form.do_modal();
}

void MainForm::report_kept_part()
{
    const Document::KeptPart kept = document().take_kept_part();
    if (!kept.part.empty())
        show_error(u"on_insert_failed_caption", u"on_insert_failed", liba::get_file_name(kept.part),
            liba::get_file_name(kept.target));
}

// Tick, view update, second launch

void MainForm::on_timer_broadcast(std::uint32_t timer_id)
{
    if (timer_id != 0 && timer_id == m_timer_id) {
        keep_awake();
        const std::uint32_t saved = m_timer_id;
        m_timer_id = 0;
        m_in_tick = true;
        Document& doc = document();
        // An idle tick leaves no line: the trace shows the ticks that had work.
        if (doc.is_playing() || doc.is_recording() || !doc.is_ok())
            os::log() << u"MainForm::on_timer_broadcast\n";
        const Settings& settings = doc.get_settings();
        if (!doc.is_recording()) {
            if (!doc.is_playing()) {
                m_power.set_interval(0.0);
                m_power.reset_idle_time();
                m_playback_interval = false;
                m_recording_interval = false;
            } else if (!m_playback_interval) {
                m_power.set_interval(static_cast<double>(settings.play_turn_off));
                m_power.reset_idle_time();
                m_playback_interval = true;
                m_recording_interval = false;
            }
        } else {
            if (!doc.is_ok()) {
                // Closed whole before the box, which may stay up for long.
                doc.stop(this);
                doc.notify(no_change);
                show_error(u"on_recording_error_caption", u"on_recording_error");
            }
            if (!m_recording_interval) {
                m_power.set_interval(static_cast<double>(doc.get_settings().record_turn_off));
                m_power.reset_idle_time();
                m_recording_interval = true;
                m_playback_interval = false;
            }
        }
        if (!doc.is_recording() && !doc.is_ok()) {
            if (lower_extension(doc.get_current_file()) == u"wma")
                show_error(u"NO_WMA_CAPTION", u"NO_WMA");
            doc.stop(nullptr);
            // The document's tick only notifies while something runs: show the stop now.
            doc.notify(no_change);
        }
        doc.on_timer();
        report_kept_part();
        m_timer_id = saved;
        m_in_tick = false;
        // Nothing runs and nothing failed: the tick sleeps until the document
        // tells of a change (update), so an idle program is not woken.
        if (!doc.is_playing() && !doc.is_recording() && doc.is_ok()) {
            kill_timer(m_timer_id);
            m_timer_id = 0;
        }
    }
    Form::on_timer_broadcast(timer_id);
}

// The system must not suspend in the middle of a recording or a song.
void MainForm::keep_awake()
{
    const Document& doc = document();
    platform::SleepInhibitor& inhibitor = platform::sleep_inhibitor();
    if (!doc.is_recording() && !doc.is_playing()) {
        inhibitor.release();
        return;
    }
    if (!inhibitor.hold(doc.is_recording() ? u"Recording" : u"Playing") && !m_sleep_lock_traced) {
        os::log() << u"MainForm: no session manager keeps the system awake\n";
        m_sleep_lock_traced = true;
    }
}

void MainForm::update(const Document::Changes& changes)
{
    if (m_timer_id == 0 && !m_in_tick)
        m_timer_id = set_timer(0.2);
    Document& doc = document();
    if (changes.general || changes.state)
        m_explorer.update_menu_bar();
    const bool playing = doc.is_playing();
    const bool recording = doc.is_recording();
    if (changes.state) {
        m_title.set_text(doc.get_title());
        m_vas.set_checked(doc.is_vas_enabled());
        m_play_indicator.set_flashing(playing);
        m_stereo.set_checked(doc.is_stereo());
        m_rec_indicator.set_flashing(recording);
        m_speed.set_speed(doc.get_speed());
        m_new_mark.set_enabled(playing || recording);
        m_rewind.set_enabled(doc.has_previous());
        m_forward.set_enabled(doc.has_next());
        m_stop.set_enabled(playing || recording);
        m_play.set_enabled(playing || doc.can_play());
        m_record.set_enabled(recording || doc.can_record());
        const bool paused = doc.is_paused();
        m_play.set_state(playing && !paused ? 1 : 0);
        m_record.set_state(recording && !paused ? 1 : 0);
    }
    if (changes.position || changes.state) {
        if (doc.get_sample_rate() == 0)
            m_info.set_text(u"");
        else
            m_info.set_text(
                doc.get_sample_rate_text() + u" " + doc.get_bits_text() + u" " + doc.get_bitrate_text());
        m_position.set_marks(doc.get_length(), playing ? &doc.get_bookmarks() : nullptr);
        m_position.set_value(doc.get_position_fraction());
        m_clock.set_times(doc.get_position_seconds(), doc.get_remaining_seconds());
    }
    if (changes.volume)
        m_output.set_value(doc.get_volume());
}

void MainForm::on_copy_data(std::u16string_view text)
{
    Document& doc = document();
    if (text == u"AppRunAtTime") {
        const std::u16string path = doc.start_scheduled_recording();
        if (!path.empty())
            m_explorer.select_path(path);
    } else if (text == u"-hide") {
        return;
    } else if (!text.empty()) {
        m_explorer.select_path(std::u16string(text));
        m_explorer.play_selection();
    } else if (platform::foreground_window() == window().handle()) {
        if (doc.is_recording())
            doc.stop(nullptr);
        else if (m_power.is_display_on())
            execute_command(u"Record");
    }
    set_shown(true);
    Form::on_copy_data(text);
    doc.notify(all_changes);
}
