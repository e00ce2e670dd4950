// The file explorer's named commands.
#include "app/SettingsSkinStore.h"
#include "app/explorer/BookmarksForm.h"
#include "app/explorer/ConfirmForm.h"
#include "app/explorer/ExplorerDialogs.h"
#include "app/explorer/ExplorerManager.h"
#include "app/explorer/PanelFileExplorer.h"
#include "app/explorer/PropertiesForm.h"
#include "app/explorer/SelectFileForm.h"
#include "app/explorer/SelectFolderForm.h"
#include "audio/Id3Tag.h"
#include "liba/Conversion.h"
#include "liba/Path.h"
#include "liba/StringTranslator.h"
#include "model/FileHelpers.h"
#include "model/PlayChainFactory.h"
#include "model/RangeMarkList.h"
#include "os/FileInfo.h"
#include "os/PathMacros.h"
#include "platform/core/Mail.h"
#include "skinner/skin/Properties.h"

using liba::literals::operator""_key;

namespace {

const Document::Changes general_change { true, false, false, false };
const Document::Changes state_change { false, false, true, false };

// base1, base2, ...: the first name that nothing in the folder has.
std::u16string unique_folder_name(const std::u16string& folder, std::u16string_view base)
{
    for (int number = 1; number <= 9999; ++number) {
        const std::u16string candidate = std::u16string(base) + liba::number_text(number);
        if (!os::FileInfo(liba::join_path(folder, candidate)).exists())
            return candidate;
    }
    return {};
}

}

const PanelFileExplorer::Command PanelFileExplorer::s_commands[] {
    { u"Cut", &PanelFileExplorer::command_cut },
    { u"Copy", &PanelFileExplorer::command_copy },
    { u"Paste", &PanelFileExplorer::command_paste },
    { u"Delete", &PanelFileExplorer::command_delete },
    { u"Rename", &PanelFileExplorer::command_rename },
    { u"NewFolder", &PanelFileExplorer::command_new_folder },
    { u"Infrared", &PanelFileExplorer::command_infrared },
    { u"Mail", &PanelFileExplorer::command_mail },
    { u"NewPlaylist", &PanelFileExplorer::command_new_playlist },
    { u"Bookmarks", &PanelFileExplorer::command_bookmarks },
    { u"WavToMp3", &PanelFileExplorer::command_wav_to_mp3 },
    { u"Refresh", &PanelFileExplorer::command_refresh },
    { u"Route", &PanelFileExplorer::command_route },
    { u"AddFile", &PanelFileExplorer::command_add_file },
    { u"AddFolder", &PanelFileExplorer::command_add_folder },
    { u"SelectAll", &PanelFileExplorer::command_select_all },
    { u"Id3Tags", &PanelFileExplorer::command_id3_tags },
    { u"Overwrite", &PanelFileExplorer::command_overwrite },
    { u"Append", &PanelFileExplorer::command_append },
    { u"Insert", &PanelFileExplorer::command_insert },
    { u"ShowFolder", &PanelFileExplorer::command_show_folder },
    { u"RecordOperation", &PanelFileExplorer::command_record_operation },
    { u"MoveUp", &PanelFileExplorer::command_move_up },
    { u"MoveDown", &PanelFileExplorer::command_move_down },
    { u"Properties", &PanelFileExplorer::command_properties },
};

bool PanelFileExplorer::execute_command(std::u16string_view name)
{
    for (const Command& command : s_commands) {
        if (command.name == name) {
            (this->*command.run)();
            notify(general_change);
            return true;
        }
    }
    return false;
}

// Clipboard

void PanelFileExplorer::command_cut()
{
    m_clipboard_source = m_path;
    m_clipboard = m_files.get_selected_paths();
    m_clipboard_operation = 1;
}

void PanelFileExplorer::command_copy()
{
    m_clipboard_source = m_path;
    m_clipboard = m_files.get_selected_paths();
    m_clipboard_operation = 0;
}

void PanelFileExplorer::command_paste()
{
    m_clipboard_source.clear();
    if (!m_playlist_mode) {
        ExplorerManager manager(get_form(), get_settings_skin(), u"Confirm5Way");
        if (m_clipboard_operation == 0)
            manager.copy_files(m_clipboard, m_native_path);
        else
            manager.move_files(m_clipboard, m_native_path);
        refresh_file_list();
        m_clipboard.clear();
    } else {
        for (const std::u16string& path : m_clipboard)
            m_playlist.add_file(path);
        m_playlist.refresh();
        m_playlist.save();
    }
    load_play_list(false);
}

void PanelFileExplorer::command_delete()
{
    m_clipboard_source.clear();
    if (!m_playlist_mode) {
        const std::vector<std::u16string> paths = m_files.get_selected_paths();
        if (paths.empty())
            return;
        int answer = ConfirmForm::answer_no;
        {
            ConfirmForm form(&get_form(), get_settings_skin(), u"ConfirmYesNo");
            form.set_texts(translate(u"on_delete_caption"), translate(u"on_delete"));
            answer = form.ask();
        }
        if (answer == ConfirmForm::answer_yes) {
            ExplorerManager manager(get_form(), get_settings_skin(), u"Confirm5Way");
            manager.delete_files(paths);
            refresh_file_list();
            m_clipboard.clear();
        }
    } else {
        const auto& rows = m_playlist.selected_rows();
        m_playlist.remove_rows_at(std::vector<std::int32_t>(rows.begin(), rows.end()));
        m_playlist.unselect_all();
        m_playlist.refresh();
        m_playlist.save();
    }
    load_play_list(false);
    update(state_change);
}

// Naming

void PanelFileExplorer::command_rename()
{
    const FileItem* item = single_selection(m_files);
    if (!item)
        return;
    m_edit_purpose = EditPurpose::rename;
    // Only the name's title is edited: the extension stays.
    m_files.start_naming(*m_files.selected_rows().begin(),
        item->is_folder ? item->name : liba::get_file_title(item->name), true);
    update(state_change);
}

void PanelFileExplorer::command_new_folder()
{
    if (!document().get_settings().show_folders)
        return;
    start_new_row(ControlListFiles::folder_type, u"NewFolder", u"", EditPurpose::new_folder);
}

void PanelFileExplorer::command_new_playlist()
{
    m_clipboard = m_files.get_selected_paths();
    // The selection becomes the playlist's rows; nothing is left to paste elsewhere.
    m_clipboard_source.clear();
    m_clipboard_operation = 0;
    start_new_row(playlist_extension, u"NewPlaylist", playlist_extension, EditPurpose::new_playlist);
}

void PanelFileExplorer::start_new_row(
    std::u16string_view type, std::u16string_view base, std::u16string_view extension, EditPurpose purpose)
{
    if (m_playlist_mode)
        return;
    FileItem row(std::u16string {}, std::u16string(type), playlist::Entry {});
    row.is_folder = type == ControlListFiles::folder_type;
    m_files.add_item(std::move(row));
    m_files.refresh();
    const std::int32_t last = m_files.get_item_count() - 1;
    m_files.select_only(last);
    const std::u16string proposed = extension.empty() ? unique_folder_name(m_native_path, base)
                                                      : unique_file_name(m_native_path, base, extension);
    m_edit_purpose = purpose;
    m_files.start_naming(last, proposed);
}

// Sending

void PanelFileExplorer::command_infrared()
{
    const FileItem* item = single_selection(m_files);
    if (!item || item->is_folder)
        return;
    if (!explorer_dialogs().beam) {
        show_error(u"on_form_missing"_key);
        return;
    }
    explorer_dialogs().beam(get_form(), item->path);
}

void PanelFileExplorer::command_mail()
{
    const FileItem* item = single_selection(m_files);
    if (!item || item->is_folder)
        return;
    if (platform::start_mail_with_attachment(item->path) == platform::MailStart::no_mail_program)
        show_error(u"on_no_mail_program"_key);
}

// Files

void PanelFileExplorer::command_bookmarks()
{
    ControlListFiles& list = shown_list();
    const FileItem* item = single_selection(list);
    if (!item || item->is_folder)
        return;
    const std::u16string path = item->path;
    const std::int32_t row = *list.selected_rows().begin();
    std::unique_ptr<audio::PlayChain> chain = open_play_chain(path, nullptr);
    if (!chain || !chain->get_reader())
        return;
    const std::u16string bookmarks = bookmark_file_name(path);
    RangeMarkList marks = RangeMarkList::load(bookmarks);
    std::int64_t start = -1;
    {
        BookmarksForm form(
            &get_form(), get_properties(), u"Bookmarks", *chain->get_reader(), liba::get_file_name(path));
        start = form.edit(marks);
    }
    marks.save(bookmarks);
    chain.reset();
    if (start != -1) {
        list.set_current_index(row);
        play_selection(false, start);
    }
    if (liba::paths_equal(
            bookmark_file_name(os::expand_path_macros(document().get_current_file())), bookmarks))
        document().load_bookmarks();
}

void PanelFileExplorer::command_wav_to_mp3()
{
    const FileItem* item = single_selection(m_files);
    if (!item || get_lower_extension(item->path) != u"wav")
        return;
    if (!explorer_dialogs().convert) {
        show_error(u"on_form_missing"_key);
        return;
    }
    const std::u16string source = item->path;
    const std::u16string target = liba::change_extension(source, u"mp3");
    ExplorerManager manager(get_form(), get_settings_skin(), u"ConfirmYesNo");
    bool aborted = false;
    if (!manager.confirm_overwrite(aborted, {}, target))
        return;
    // The conversion replaces the old target only with a complete new one.
    const bool converted = explorer_dialogs().convert(get_form(), source, target) == ExplorerDialogs::ConvertResult::done;
    refresh_file_list();
    select_path(converted ? target : source);
}

void PanelFileExplorer::command_refresh()
{
    refresh_file_list();
    load_play_list(false);
}

void PanelFileExplorer::command_route()
{
    if (m_playlist_mode)
        return;
    const FileItem* item = single_selection(m_files);
    if (!item)
        return;
    m_files.set_current_index(*m_files.selected_rows().begin());
    play_selection(true, 0);
}

void PanelFileExplorer::command_id3_tags()
{
    const FileItem* item = single_selection(shown_list());
    if (!item || get_lower_extension(item->path) != u"mp3")
        return;
    if (!explorer_dialogs().edit_tag) {
        show_error(u"on_form_missing"_key);
        return;
    }
    audio::Id3Tag tag(item->path);
    if (explorer_dialogs().edit_tag(get_form(), tag) && !tag.write(item->path))
        show_error(u"on_tag_not_written"_key, liba::get_file_name(item->path));
}

void PanelFileExplorer::command_properties()
{
    const FileItem* item = single_selection(shown_list());
    if (!item)
        return;
    PropertiesForm form(&get_form(), get_settings_skin(), u"Properties", item->path);
    form.do_modal();
}

// Playlists

void PanelFileExplorer::command_add_file()
{
    SelectFileForm form(&get_form(), get_settings_skin());
    if (!form.run())
        return;
    for (const std::u16string& path : form.get_selected_files())
        m_playlist.add_file(path);
    m_playlist.refresh();
}

void PanelFileExplorer::command_add_folder()
{
    if (!m_playlist_mode)
        return;
    SelectFolderForm form(&get_form(), get_settings_skin());
    if (!form.run() || form.get_folder().empty())
        return;
    m_playlist.scan_folder(form.get_folder());
    m_playlist.refresh();
}

void PanelFileExplorer::command_select_all()
{
    m_playlist.select_range(0, m_playlist.get_item_count() - 1);
}

void PanelFileExplorer::command_move_up()
{
    move_row(-1);
}

void PanelFileExplorer::command_move_down()
{
    move_row(1);
}

void PanelFileExplorer::move_row(std::int32_t step)
{
    if (!m_playlist_mode || !single_selection(m_playlist))
        return;
    const std::int32_t row = *m_playlist.selected_rows().begin();
    const std::int32_t other = row + step;
    if (other < 0 || other >= m_playlist.get_item_count())
        return;
    m_playlist.swap_rows(row, other);
    m_playlist.select_only(other);
    m_playlist.scroll_into_view(other);
    m_playlist.refresh();
    m_playlist.save();
}

// Recording onto a file

void PanelFileExplorer::command_overwrite()
{
    const FileItem* item = single_selection(m_files);
    if (item && !item->is_folder && !item->is_playlist)
        document().record_overwrite(item->path);
}

void PanelFileExplorer::command_append()
{
    const FileItem* item = single_selection(m_files);
    if (item && !item->is_folder && !item->is_playlist)
        document().record_append(item->path);
}

void PanelFileExplorer::command_insert()
{
    document().record_insert_current();
}

// View switches

void PanelFileExplorer::command_show_folder()
{
    Settings settings = document().get_settings();
    settings.show_folders = !settings.show_folders;
    document().apply_settings(settings);
    refresh_file_list();
}

void PanelFileExplorer::command_record_operation()
{
    m_record_submenu = !m_record_submenu;
}
