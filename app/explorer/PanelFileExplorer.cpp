#include "app/explorer/PanelFileExplorer.h"

#include "app/SettingsSkinStore.h"
#include "dialogs/ErrorForm.h"
#include "liba/Path.h"
#include "model/FileHelpers.h"
#include "os/FileInfo.h"
#include "os/FileSystem.h"
#include "os/Log.h"
#include "os/PathMacros.h"
#include "playlist/EntryPath.h"
#include "skinner/core/Form.h"
#include "skinner/skin/Properties.h"

#include <utility>

namespace {

const Document::Changes no_change {};
const Document::Changes state_change { false, false, true, false };
const Document::Changes selection_change { true, false, true, false };

struct BarButton {
    std::u16string_view command;
    std::int32_t order;
    std::int32_t image;
};

// Places on the bar after the main form's "File" and "Mode", and images of its strip.
constexpr BarButton menu_buttons[] {
    { u"ShowFolder", 3, 9 },
    { u"RecordOperation", 4, 5 },
    { u"Overwrite", 5, 6 },
    { u"Append", 6, 8 },
    { u"Insert", 7, 7 },
    { u"Cut", 8, 11 },
    { u"Copy", 9, 12 },
    { u"Paste", 10, 13 },
    { u"Delete", 11, 16 },
    { u"MoveUp", 12, 14 },
    { u"MoveDown", 13, 15 },
};

constexpr std::int32_t show_folder_off_image = 10;

void register_types(ControlListFiles& list)
{
    for (std::u16string_view extension : sound_extensions)
        list.add_type(extension);
    list.add_type(playlist_extension);
}

}

PanelFileExplorer::PanelFileExplorer(skinner::Container& container, std::u16string_view name)
    : ControlPanel(container, name)
    , m_folder(*get_container(), u"cmbFolder")
    , m_files(*get_container(), u"lstFilelist")
    , m_playlist(*get_container(), u"lstPlaylist")
    , m_sort_name(3, *get_container(), u"btnSortName")
    , m_sort_date(3, *get_container(), u"btnSortDate")
    , m_sort_size(3, *get_container(), u"btnSortSize")
{
    for (const BarButton& entry : menu_buttons)
        m_menu_buttons.push_back(
            std::make_unique<skinner::MenuMainButton>(*get_container(), entry.command, u"", entry.order));
    register_types(m_files);
    register_types(m_playlist);
    // Both lists have a pop-up menu, which tap-and-hold opens.
    m_files.set_context_gestures(true);
    m_playlist.set_context_gestures(true);
    m_playlist.set_visible(false);
    m_path = u"/";
    m_native_path = m_path;
    m_folder.set_path(m_path);

    const Settings& settings = document().get_settings();
    set_sort_mode(static_cast<std::int32_t>(settings.sort));
    const std::u16string stored = settings.explorer_folder;
    if (!stored.empty() && m_playlist.load(os::expand_path_macros(stored)))
        change_folder(stored, true);
    else if (!stored.empty() && os::get_free_space(stored) != 0)
        change_folder(stored, false);
    else
        change_folder(os::expand_path_macros(u"%my_documents%"), false);
    load_play_list(false);
}

PanelFileExplorer::~PanelFileExplorer()
{
    // A name being typed is dropped, and its end reaches no half-gone panel.
    m_closing = true;
    m_files.end_inplace_edit(false);
    // A playlist shown at shutdown keeps its edits.
    if (m_playlist_mode)
        m_playlist.save_if_changed();
}

ControlListFiles& PanelFileExplorer::shown_list()
{
    return m_playlist_mode ? static_cast<ControlListFiles&>(m_playlist) : m_files;
}

skinner::MenuMainButton* PanelFileExplorer::menu_button(std::u16string_view command)
{
    for (auto& button : m_menu_buttons)
        if (button->id() == command)
            return button.get();
    return nullptr;
}

skinner::ControlButtonMultistate& PanelFileExplorer::sort_button(std::int32_t index)
{
    return index == 0 ? m_sort_name : index == 1 ? m_sort_date : m_sort_size;
}

void PanelFileExplorer::notify(const Document::Changes& changes)
{
    document().notify(changes);
}

void PanelFileExplorer::show_path()
{
    // The path frame shows the device's root by its name.
    m_folder.path_frame().set_text_with_values(u"%src%", { { u"%src%", m_path } });
}

void PanelFileExplorer::show_error(std::u16string_view key, std::u16string_view source)
{
    skinner::Properties& store = get_settings_skin();
    ErrorForm form(&get_form(), store);
    form.set_texts(
        translate(std::u16string(key) + u"_caption"), replace_all(translate(key), u"%src%", source));
    form.do_modal();
}

// Folders and lists

void PanelFileExplorer::change_folder(std::u16string path, bool as_playlist)
{
    path = liba::remove_trailing_separator(path);
    if (path.empty())
        path = u"/";
    const std::u16string native = os::expand_path_macros(path);
    if (m_playlist_mode)
        m_playlist.save_if_changed();
    if (as_playlist) {
        if (!m_playlist.load(native))
            return;
        m_playlist_mode = true;
    } else {
        m_playlist_mode = false;
    }
    const std::u16string previous = m_path;
    const std::u16string previous_native = m_native_path;
    m_path = path;
    m_native_path = native;
    show_path();

    Settings settings = document().get_settings();
    settings.explorer_folder = path;
    document().apply_settings(settings);

    document().set_can_record(!m_playlist_mode);
    m_files.set_visible(!m_playlist_mode);
    m_playlist.set_visible(m_playlist_mode);
    for (auto* button : { &m_sort_name, &m_sort_date, &m_sort_size })
        button->set_enabled(!m_playlist_mode);
    if (!m_playlist_mode)
        refresh_file_list();
    ControlListFiles& list = shown_list();
    list.scroll_to(0);

    // Going up leaves the folder one came from selected.
    if (liba::is_path_under(path, previous) && !liba::paths_equal(path, previous)) {
        for (std::int32_t row = 0; row < list.get_item_count(); ++row) {
            if (liba::paths_equal(list.item(row).path, previous_native)) {
                list.select_only(row);
                list.scroll_into_view(row);
                break;
            }
        }
    }
    update(state_change);
}

void PanelFileExplorer::refresh_file_list()
{
    const std::u16string selected = m_files.get_selected_path();
    const std::u16string current = m_files.get_current_path();
    if (document().get_settings().show_folders)
        m_files.add_type(ControlListFiles::folder_type);
    else
        m_files.remove_type(ControlListFiles::folder_type);
    m_files.set_folder(m_native_path);
    m_files.select_file(selected);
    m_files.set_current_file(current);
}

int PanelFileExplorer::load_play_list(bool single)
{
    ControlListFiles& list = shown_list();
    std::u16string current = list.get_current_path();
    if (current.empty()) {
        current = list.get_selected_path();
        if (!current.empty())
            list.set_current_index(*list.selected_rows().begin());
    }
    std::vector<playlist::Entry> entries;
    int result = -1;
    for (const FileItem& item : list.items()) {
        if (item.is_folder || item.is_playlist || item.entry.path.empty())
            continue;
        if (result < 0 && !current.empty() && liba::paths_equal(item.path, current))
            result = static_cast<int>(entries.size());
        entries.push_back(item.entry);
    }
    document().set_play_list(m_path, std::move(entries), result, single);
    document().set_can_play(can_play_selection(list));
    document().set_can_record(!m_playlist_mode);
    return result;
}

bool PanelFileExplorer::play_selection(bool single, std::int64_t start)
{
    // A path asked for that the folder does not list is not swapped for another file.
    const std::u16string requested = std::exchange(m_requested, {});
    // The play list's news of the playing item made that row current again.
    if (const std::u16string handed = std::exchange(m_handed, {}); !handed.empty() && !m_playlist_mode)
        m_files.find_file(handed);
    const int index = load_play_list(single);
    // Any other row (one playing already) is no stand-in for it.
    if (!requested.empty()) {
        report_play_failure(requested);
        return false;
    }
    const std::u16string current = shown_list().get_current_path();
    const bool played = document().play_item(index, start);
    notify(no_change);
    if (!played && index >= 0)
        report_play_failure(current);
    return played;
}

void PanelFileExplorer::report_play_failure(const std::u16string& path)
{
    os::log() << u"PanelFileExplorer::play_selection failed [" << path << u"]\n";
    const skinner::Properties& store = get_properties();
    skinner::Form::message_box(&get_form(), store.translate(u"on_play_failed_caption"),
        replace_all(store.translate(u"on_play_failed"), u"%src%", path));
}

void PanelFileExplorer::select_path(const std::u16string& path)
{
    // What is no path of a folder there is (a stray command line) leaves the view as it is.
    const std::u16string folder = liba::remove_trailing_separator(liba::get_parent_directory(path));
    bool found = false;
    if (!folder.empty() && os::FileInfo(folder).is_directory()) {
        change_folder(folder, false);
        const std::u16string expanded = os::expand_path_macros(path);
        m_files.select_file(expanded);
        found = m_files.selected_count() == 1 && liba::paths_equal(m_files.get_selected_path(), expanded);
        // The path asked for is the one to play next, not the row playing now.
        m_files.set_current_index(found ? *m_files.selected_rows().begin() : -1);
        load_play_list(false);
        if (found)
            m_handed = expanded;
    }
    m_requested = found ? std::u16string() : path;
    notify(no_change);
}

bool PanelFileExplorer::can_play_selection(const skinner::Control& list) const
{
    const bool has_items = document().get_item_count() > 0;
    if (&list == &m_playlist)
        return has_items;
    if (&list != &m_files)
        return false;
    if (m_files.selected_count() == 0)
        return has_items;
    const FileItem& first = m_files.get_selected_item();
    return !first.is_folder && !first.is_playlist && has_items;
}

void PanelFileExplorer::set_sort_mode(std::int32_t mode)
{
    Settings settings = document().get_settings();
    settings.sort = static_cast<SortMode>(mode);
    document().apply_settings(settings);
    m_files.set_sort_mode(mode);
    const bool known = mode >= 1 && mode <= 6;
    const std::int32_t state = !known ? 0 : mode <= 3 ? 1 : 2;
    const std::int32_t key = !known ? -1 : (mode - 1) % 3;
    m_sort_name.set_state(key == 0 ? state : 0);
    m_sort_date.set_state(key == 1 ? state : 0);
    m_sort_size.set_state(key == 2 ? state : 0);
}

const FileItem* PanelFileExplorer::single_selection(const ControlListFiles& list) const
{
    if (list.selected_count() != 1)
        return nullptr;
    const std::int32_t row = *list.selected_rows().begin();
    return row < list.get_item_count() ? &list.item(row) : nullptr;
}

void PanelFileExplorer::open_row(const FileItem& item)
{
    if (item.is_folder)
        change_folder(item.path, false);
    else
        change_folder(liba::join_path(m_path, item.name), true);
    notify(no_change);
}

// Events

bool PanelFileExplorer::on_click(skinner::Control& sender)
{
    if (sender.id() == u"btnFolderUp") {
        const std::u16string parent = liba::remove_trailing_separator(liba::get_parent_directory(m_path));
        if (!parent.empty()) {
            if (m_playlist_mode)
                m_playlist.save_if_changed();
            m_playlist_mode = false;
            change_folder(parent, false);
            notify(no_change);
        }
        return true;
    }
    std::int32_t mode = 0;
    const std::int32_t current = m_files.get_sort_mode();
    if (&sender == &m_sort_name)
        mode = current == 1 ? 4 : 1;
    else if (&sender == &m_sort_date)
        mode = current == 2 ? 5 : 2;
    else if (&sender == &m_sort_size)
        mode = current == 3 ? 6 : 3;
    else
        return ControlPanel::on_click(sender);
    set_sort_mode(mode);
    m_files.refresh();
    update(state_change);
    return true;
}

bool PanelFileExplorer::on_item_click(skinner::Control& sender, const skinner::GridCellEvent& event)
{
    if (&sender != &m_files && &sender != &m_playlist)
        return ControlPanel::on_item_click(sender, event);
    auto& list = static_cast<ControlListFiles&>(sender);
    const bool double_tap = (event.flags & 0xFF) == 1;
    if (double_tap && event.row >= 0 && event.row < list.get_item_count()) {
        list.set_current_index(event.row);
        play_selection(false, 0);
        return true;
    }
    if (&sender == &m_files) {
        const FileItem* item = single_selection(m_files);
        if (item && (item->is_folder || item->is_playlist))
            open_row(FileItem(*item));
    }
    return true;
}

bool PanelFileExplorer::on_selection_changed(skinner::Control& sender)
{
    if (&sender != &m_files && &sender != &m_playlist)
        return ControlPanel::on_selection_changed(sender);
    m_requested.clear();
    m_handed.clear();
    document().set_can_play(can_play_selection(sender));
    notify(selection_change);
    return true;
}

bool PanelFileExplorer::on_dropdown_closed(skinner::Control& sender)
{
    if (&sender != &m_folder)
        return ControlPanel::on_dropdown_closed(sender);
    change_folder(m_folder.get_path(), false);
    notify(no_change);
    return true;
}

bool PanelFileExplorer::on_key(skinner::KeyCode key)
{
    ControlListFiles& list = shown_list();
    if (list.is_editing())
        return ControlPanel::on_keydown(key);
    if (!list.has_focus())
        list.take_focus();
    if (key == skinner::key::enter) {
        if (const FileItem* item = single_selection(list)) {
            list.set_current_index(*list.selected_rows().begin());
            if (item->is_folder || item->is_playlist)
                open_row(FileItem(*item));
            else
                play_selection(false, 0);
            return true;
        }
    }
    if (list.selected_count() == 0 && list.get_item_count() > 0) {
        list.select_only(0);
        return true;
    }
    return ControlPanel::on_keydown(key);
}

void PanelFileExplorer::update(const Document::Changes& changes)
{
    if (!changes.path.empty())
        select_path(changes.path);
    if (!changes.state)
        return;
    ControlListFiles& list = shown_list();
    if (document().is_playing()) {
        const std::u16string playing
            = playlist::resolve_entry_path(m_path, document().get_current_item().path);
        list.scroll_into_view(list.find_file(playing));
    } else {
        list.set_current_index(-1);
    }
    list.invalidate();
}

bool PanelFileExplorer::paste_allowed() const
{
    return !m_clipboard.empty() && !liba::paths_equal(m_clipboard_source, m_path);
}

void PanelFileExplorer::update_menu_bar()
{
    if (!is_visible())
        return;
    for (const BarButton& entry : menu_buttons) {
        skinner::MenuMainButton* button = menu_button(entry.command);
        button->set_visible(false);
        button->set_separator_after(false);
        button->set_image_index(entry.image);
    }
    if (!document().get_settings().show_folders)
        menu_button(u"ShowFolder")->set_image_index(show_folder_off_image);
    const auto show = [this](std::u16string_view command, bool enabled) {
        skinner::MenuMainButton* button = menu_button(command);
        button->set_enabled(enabled);
        button->set_visible(true);
    };
    if (m_playlist_mode) {
        const FileItem* item = single_selection(m_playlist);
        const std::int32_t row = item ? *m_playlist.selected_rows().begin() : -1;
        show(u"MoveUp", item && row > 0);
        show(u"MoveDown", item && row < m_playlist.get_item_count() - 1);
        show(u"Delete", m_playlist.selected_count() > 0);
        return;
    }
    menu_button(u"ShowFolder")->set_separator_after(true);
    show(u"ShowFolder", true);
    show(u"RecordOperation", true);
    if (m_record_submenu) {
        const FileItem* item = single_selection(m_files);
        const bool idle = !document().is_playing() && !document().is_recording();
        const bool onto_file = idle && item && !item->is_folder && !item->is_playlist;
        show(u"Overwrite", onto_file);
        show(u"Insert", document().is_playing());
        show(u"Append", onto_file);
        return;
    }
    const bool any = m_files.selected_count() > 0;
    show(u"Cut", any);
    show(u"Copy", any);
    show(u"Paste", paste_allowed());
    show(u"Delete", any);
}
