// The explorer's pop-up menus and the end of its in-place naming.
#include "app/SettingsSkinStore.h"
#include "app/explorer/ExplorerManager.h"
#include "app/explorer/ItemName.h"
#include "app/explorer/PanelFileExplorer.h"
#include "dialogs/ErrorForm.h"
#include "liba/Path.h"
#include "liba/StringTranslator.h"
#include "model/FileHelpers.h"
#include "os/FileInfo.h"
#include "playlist/ListM3U.h"
#include "skinner/menus/PopupMenu.h"

using liba::literals::operator""_key;

namespace {

struct MenuItem {
    std::u16string_view command;
    bool separator_after;
};

constexpr MenuItem file_list_menu[] {
    { u"Cut", false },
    { u"Copy", false },
    { u"Paste", false },
    { u"Delete", false },
    { u"Rename", true },
    { u"NewFolder", false },
    { u"NewPlaylist", true },
    { u"Beam", false },
    { u"Bookmarks", false },
    { u"Id3Tags", false },
    { u"WavToMp3", true },
    { u"Route", true },
    { u"Properties", true },
    { u"Refresh", true },
};

constexpr MenuItem beam_menu[] {
    { u"Infrared", false },
    { u"Mail", false },
};

constexpr MenuItem playlist_menu[] {
    { u"Paste", false },
    { u"AddFile", false },
    { u"AddFolder", false },
    { u"Delete", true },
    { u"SelectAll", true },
    { u"Bookmarks", false },
    { u"Id3Tags", false },
    { u"Properties", true },
};

skinner::MenuEntry* find_entry(skinner::MenuEntry& menu, std::u16string_view id)
{
    for (skinner::MenuEntry& child : menu.children) {
        if (child.id == id)
            return &child;
        if (skinner::MenuEntry* found = find_entry(child, id))
            return found;
    }
    return nullptr;
}

}

skinner::MenuEntry PanelFileExplorer::build_context_menu(const skinner::Control& list) const
{
    skinner::MenuEntry menu;
    const auto fill = [this](skinner::MenuEntry& parent, auto& items) {
        for (const MenuItem& item : items) {
            skinner::MenuEntry entry(item.command, translate(item.command));
            entry.separator_after = item.separator_after;
            parent.children.push_back(std::move(entry));
        }
    };
    const auto enable = [&menu](std::u16string_view id, bool enabled) {
        if (skinner::MenuEntry* entry = find_entry(menu, id))
            entry->enabled = enabled;
    };
    if (&list == &m_files) {
        fill(menu, file_list_menu);
        fill(*find_entry(menu, u"Beam"), beam_menu);
        const std::int32_t count = m_files.selected_count();
        const FileItem* item = single_selection(m_files);
        const bool one_file = item && !item->is_folder;
        const std::u16string extension = item ? get_lower_extension(item->path) : std::u16string();
        enable(u"Cut", count > 0);
        enable(u"Copy", count > 0);
        enable(u"Paste", paste_allowed());
        enable(u"Delete", count > 0);
        enable(u"Rename", item != nullptr);
        enable(u"NewFolder", document().get_settings().show_folders);
        enable(u"Beam", one_file);
        enable(u"Bookmarks", one_file);
        enable(u"Id3Tags", one_file && extension == u"mp3");
        enable(u"WavToMp3", one_file && extension == u"wav");
        enable(u"Route", one_file);
        enable(u"Properties", one_file);
    } else if (&list == &m_playlist) {
        fill(menu, playlist_menu);
        const FileItem* item = single_selection(m_playlist);
        const std::u16string extension = item ? get_lower_extension(item->path) : std::u16string();
        enable(u"Paste", !m_clipboard.empty());
        enable(u"Delete", m_playlist.selected_count() > 0);
        enable(u"Bookmarks", item != nullptr);
        enable(u"Id3Tags", item && extension == u"mp3");
        enable(u"Properties", item != nullptr);
    }
    return menu;
}

bool PanelFileExplorer::on_context_menu(skinner::Control& sender, const skinner::GridCellEvent& event)
{
    if (&sender != &m_files && &sender != &m_playlist)
        return ControlPanel::on_context_menu(sender, event);
    const skinner::MenuEntry menu = build_context_menu(sender);
    const std::u16string chosen
        = skinner::show_popup_menu(get_form(), menu, { event.point.x, event.point.y });
    if (!chosen.empty())
        execute_command(chosen);
    return true;
}

bool PanelFileExplorer::on_inplace_edit_end(
    skinner::Control& sender, const skinner::GridInplaceEditEnd& event)
{
    if (&sender != &m_files)
        return ControlPanel::on_inplace_edit_end(sender, event);
    if (m_closing)
        return true;
    const std::u16string name = m_files.name_edit().get_text();
    if (event.commit) {
        if (!is_valid_item_name(name)) {
            show_error(u"on_invalid_name"_key, name);
        } else if (m_edit_purpose == EditPurpose::rename) {
            finish_rename(name);
        } else if (m_edit_purpose == EditPurpose::new_folder) {
            finish_new_folder(name);
        } else {
            finish_new_playlist(name);
        }
    }
    // A provisional row goes; a real entry comes back from the folder.
    if (!m_playlist_mode) {
        refresh_file_list();
        if (!m_named_path.empty())
            m_files.select_file(m_named_path);
    }
    m_named_path.clear();
    // The files taken for a new playlist are no cut or copy to paste elsewhere.
    if (m_edit_purpose == EditPurpose::new_playlist)
        m_clipboard.clear();
    return true;
}

void PanelFileExplorer::finish_rename(const std::u16string& name)
{
    const FileItem* item = single_selection(m_files);
    if (!item || item->path.empty())
        return;
    const std::u16string old_path = item->path;
    // A file keeps its extension; a folder takes the name as typed.
    std::u16string new_name = name;
    const std::u16string extension = liba::get_extension(old_path);
    if (!item->is_folder && !extension.empty())
        new_name += u"." + extension;
    if (new_name == liba::get_file_name(old_path))
        return;
    ExplorerManager manager(get_form(), get_settings_skin(), u"ConfirmYesNo");
    if (manager.rename(old_path, new_name))
        m_named_path = liba::join_path(liba::get_directory(old_path), new_name);
}

void PanelFileExplorer::finish_new_folder(const std::u16string& name)
{
    if (!os::FileInfo(m_native_path).create_directory(name))
        show_error(u"on_create_folder_error", name);
}

void PanelFileExplorer::finish_new_playlist(const std::u16string& name)
{
    const std::u16string path = liba::join_path(m_native_path, name + u".m3u");
    if (os::FileInfo(path).exists()) {
        ExplorerManager manager(get_form(), get_settings_skin(), u"ConfirmYesNo");
        bool aborted = false;
        if (!manager.confirm_overwrite(aborted, u"new playlist", path))
            return;
        if (!manager.delete_files({ path }) || os::FileInfo(path).exists())
            return;
    }
    create_playlist(path);
}

bool PanelFileExplorer::create_playlist(const std::u16string& path)
{
    playlist::ListM3U list;
    if (!list.save(path)) {
        show_error(u"on_create_playlist_error"_key, liba::get_file_name(path));
        return false;
    }
    change_folder(path, true);
    if (!m_playlist_mode)
        return false;
    execute_command(u"Paste");
    notify(Document::Changes {});
    return true;
}
