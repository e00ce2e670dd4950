#pragma once

#include "app/explorer/ControlListFiles.h"
#include "app/explorer/ControlListPlaylist.h"
#include "model/Document.h"
#include "skinner/core/KeyCode.h"
#include "skinner/core/MenuEntry.h"
#include "skinner/widgets/buttons/ControlButtonMultistate.h"
#include "skinner/widgets/combos/ControlComboBoxFolderTree.h"
#include "skinner/widgets/panels/ControlPanel.h"
#include "skinner/menus/MenuMainButton.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The file explorer: one folder, or the entries of one playlist file, in a
// list from which playback starts. Whatever plays, the document's play list
// is the shown list's sound files. The panel keeps the shown path and the
// sort mode in the settings, runs the explorer's named commands and owns the
// explorer's buttons on the menu bar.
class PanelFileExplorer : public skinner::ControlPanel, public Document::View {
public:
    // What a finished in-place edit names.
    enum class EditPurpose { rename = 0, new_folder = 1, new_playlist = 2 };

    PanelFileExplorer(skinner::Container& container, std::u16string_view name);
    ~PanelFileExplorer() override;

    // Shows the folder, or with as_playlist the playlist file (nothing
    // changes when it does not load); the path goes to the settings file.
    void change_folder(std::u16string path, bool as_playlist);
    void refresh_file_list();
    // Makes the shown list's sound files the play list; the index of the
    // current row in it, or -1.
    int load_play_list(bool single);
    bool play_selection(bool single = false, std::int64_t start = 0);
    // Shows the path's folder with the path selected.
    void select_path(const std::u16string& path);

    // The path of the one selected row of the folder list; empty otherwise.
    std::u16string selection() const { return m_files.get_selected_path(); }

    // The shown folder or playlist file, as it was set.
    const std::u16string& get_folder() const { return m_path; }

    void set_sort_mode(std::int32_t mode);
    bool can_play_selection(const skinner::Control& list) const;
    void update_menu_bar();
    // Runs the explorer's command; false for a name it does not know.
    bool execute_command(std::u16string_view name);
    // Up, Down and the action key while the panel shows.
    bool on_key(skinner::KeyCode key);

    // The pop-up menu of the list, with each entry enabled as the state allows.
    skinner::MenuEntry build_context_menu(const skinner::Control& list) const;

    bool on_click(skinner::Control& sender) override;
    bool on_item_click(skinner::Control& sender, const skinner::GridCellEvent& event) override;
    bool on_context_menu(skinner::Control& sender, const skinner::GridCellEvent& event) override;
    bool on_inplace_edit_end(skinner::Control& sender, const skinner::GridInplaceEditEnd& event) override;
    bool on_selection_changed(skinner::Control& sender) override;
    bool on_dropdown_closed(skinner::Control& sender) override;
    void update(const Document::Changes& changes) override;

    ControlListFiles& file_list() { return m_files; }

    ControlListPlaylist& playlist_list() { return m_playlist; }

    ControlListFiles& shown_list();

    skinner::ControlComboBoxFolderTree& folder_combo() { return m_folder; }

    bool is_playlist_mode() const { return m_playlist_mode; }

    const std::vector<std::u16string>& clipboard() const { return m_clipboard; }

    const std::u16string& clipboard_source() const { return m_clipboard_source; }

    bool clipboard_moves() const { return m_clipboard_operation == 1; }

    bool record_submenu() const { return m_record_submenu; }

    skinner::MenuMainButton* menu_button(std::u16string_view command);
    skinner::ControlButtonMultistate& sort_button(std::int32_t index);

private:
    struct Command {
        std::u16string_view name;
        void (PanelFileExplorer::*run)();
    };

    static const Command s_commands[];

    Document& document() const { return *Document::instance(); }

    void show_path();
    void report_play_failure(const std::u16string& path);
    void notify(const Document::Changes& changes);
    bool paste_allowed() const;
    void open_row(const FileItem& item);
    void show_error(std::u16string_view key, std::u16string_view source = {});
    // The selected row of the list when exactly one is selected.
    const FileItem* single_selection(const ControlListFiles& list) const;
    void start_new_row(std::u16string_view type, std::u16string_view base, std::u16string_view extension,
        EditPurpose purpose);
    void finish_rename(const std::u16string& name);
    void finish_new_folder(const std::u16string& name);
    void finish_new_playlist(const std::u16string& name);
    bool create_playlist(const std::u16string& path);

    void command_cut();
    void command_copy();
    void command_paste();
    void command_delete();
    void command_rename();
    void command_new_folder();
    void command_infrared();
    void command_mail();
    void command_new_playlist();
    void command_bookmarks();
    void command_wav_to_mp3();
    void command_refresh();
    void command_route();
    void command_add_file();
    void command_add_folder();
    void command_select_all();
    void command_id3_tags();
    void command_overwrite();
    void command_append();
    void command_insert();
    void command_show_folder();
    void command_record_operation();
    void command_move_up();
    void command_move_down();
    void command_properties();
    void move_row(std::int32_t step);

    skinner::ControlComboBoxFolderTree m_folder;
    ControlListFiles m_files;
    ControlListPlaylist m_playlist;
    std::vector<std::u16string> m_clipboard;
    int m_clipboard_operation = 0;
    EditPurpose m_edit_purpose = EditPurpose::rename;
    bool m_record_submenu = false;
    std::u16string m_clipboard_source;
    skinner::ControlButtonMultistate m_sort_name;
    skinner::ControlButtonMultistate m_sort_date;
    skinner::ControlButtonMultistate m_sort_size;
    bool m_playlist_mode = false;
    std::vector<std::unique_ptr<skinner::MenuMainButton>> m_menu_buttons;
    // The folder or list shown, as stored (path macros kept), and as the host
    // takes it, expanded once when it is entered.
    std::u16string m_path;
    std::u16string m_native_path;
    bool m_closing = false;
    // A path select_path was given that no row shows: what the next play is about.
    std::u16string m_requested;
    // The file select_path found, which the next play plays whatever plays now.
    std::u16string m_handed;
    // What a finished edit named, selected once the folder is read again.
    std::u16string m_named_path;
};
