#pragma once

#include "app/controls/ControlClock.h"
#include "app/controls/ControlFlash.h"
#include "app/controls/ControlProgressBookmarks.h"
#include "app/controls/ControlSpeed.h"
#include "app/explorer/PanelFileExplorer.h"
#include "app/panels/PanelEqualizer.h"
#include "app/panels/PanelLevels.h"
#include "app/panels/PanelMoreControls.h"
#include "model/Document.h"
#include "model/ipc/CCommandDelegate.h"
#include "model/ipc/CommCommands.h"
#include "model/ipc/CommWindow.h"
#include "skinner/core/Form.h"
#include "skinner/core/MenuEntry.h"
#include "skinner/widgets/buttons/ControlButton.h"
#include "skinner/widgets/buttons/ControlButtonMultistate.h"
#include "skinner/widgets/buttons/ControlCheckBox.h"
#include "skinner/widgets/panels/ControlPanel.h"
#include "skinner/widgets/progress/ControlProgress.h"
#include "skinner/widgets/text/ControlFrame.h"
#include "skinner/menus/ControlMenuMain.h"
#include "skinner/menus/MenuMainButton.h"
#include "skinner/menus/MenuMainSubMenu.h"
#include "skinner/system/HardwareKeys.h"
#include "skinner/system/PowerManager.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The program's full-screen window: the transport, the display, the panels
// and the menu bar over the document, which it shows and drives.
class MainForm : public skinner::Form, public Document::View, private CommWindow {
public:
    MainForm(skinner::Properties& properties, std::u16string_view name);
    ~MainForm() override;

    bool on_click(skinner::Control& sender) override;
    bool on_command(std::u16string_view command) override;
    bool on_value_changed(skinner::Control& sender, double value) override;
    bool on_build_menu(skinner::Control& sender, skinner::MenuEntry& menu) override;
    bool on_keydown(skinner::KeyCode key) override;
    void on_timer_broadcast(std::uint32_t timer_id) override;
    void on_copy_data(std::u16string_view text) override;
    void update(const Document::Changes& changes) override;

    // Runs one named command; an unknown name goes to the file explorer.
    void execute_command(std::u16string_view command);
    void set_shown(bool shown);
    void assign_hardware_keys(const Settings& settings);
    void show_panel_for_mode();

    PanelFileExplorer& explorer() { return m_explorer; }

    std::uint32_t timer_id() const { return m_timer_id; }

private:
    // What the views are told once a command has run: nothing, what the
    // document has pending, or that with general, volume or every flag.
    enum class CommandChanges { silent, pending, general, volume, all };

    struct NamedCommand {
        std::u16string_view name;
        void (MainForm::*run)();
        CommandChanges changes;
    };

    // An error box a command leaves for after the views have been told, so
    // that the screen behind it is current.
    struct CommandError {
        std::u16string_view caption_key;
        std::u16string_view message_key;
    };

    static const NamedCommand s_commands[];

    void command_settings();
    void command_mode();
    void command_exit();
    void command_next();
    void command_prev();
    void command_play();
    void command_play_stop();
    void command_record();
    void command_record_stop();
    void command_forward();
    void command_rewind();
    void command_stop();
    void command_volume_up();
    void command_volume_down();
    void command_panel();
    void command_clock_mode();
    void command_new_bookmark();
    void command_help();
    void command_about();
    void command_screen_resolution();

    void notify_after(const NamedCommand& command);
    void update_power_interval();
    // "%src%" and "%dst%" in the message are replaced by the names given.
    void show_error(std::u16string_view caption_key, std::u16string_view message_key,
        std::u16string_view source = {}, std::u16string_view target = {});
    // Where a part that could not be inserted is kept, once.
    void report_kept_part();
    void keep_awake();

    // CommWindow
    void show_window(bool shown) override { set_shown(shown); }

    void select_path(const std::u16string& path) override { m_explorer.select_path(path); }

    bool play_selection() override { return m_explorer.play_selection(); }

    Document& document() const { return *Document::instance(); }

    PanelFileExplorer m_explorer;
    PanelLevels m_levels;
    PanelEqualizer m_equalizer;
    PanelMoreControls m_more_controls;
    std::uint32_t m_timer_id = 0; // the tick's, 0 while it sleeps
    bool m_in_tick = false;
    skinner::ControlButton m_new_mark;
    skinner::ControlButton m_rewind;
    skinner::ControlButton m_forward;
    skinner::ControlButtonMultistate m_play;
    skinner::ControlButtonMultistate m_record;
    skinner::ControlButton m_stop;
    skinner::ControlProgress m_output;
    ControlProgressBookmarks m_position;
    skinner::ControlButtonMultistate m_mode;
    ControlFlash m_rec_indicator;
    ControlFlash m_play_indicator;
    skinner::ControlCheckBox m_stereo;
    ControlSpeed m_speed;
    skinner::ControlCheckBox m_vas;
    skinner::ControlFrame m_info;
    skinner::ControlFrame m_title;
    ControlClock m_clock;
    skinner::ControlButton m_clock_mode;
    skinner::ControlMenuMain m_menu;
    skinner::MenuMainSubMenu m_file_button;
    skinner::MenuMainButton m_mode_button;
    skinner::HardwareKeys m_keys;
    skinner::PowerManager m_power;
    bool m_playback_interval = false;
    bool m_recording_interval = false;
    bool m_sleep_lock_traced = false;
    std::optional<CommandError> m_command_error;

    CommCommands m_comm;
    std::vector<std::unique_ptr<CCommandDelegate>> m_comm_delegates;
};
