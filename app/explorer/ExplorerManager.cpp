#include "app/explorer/ExplorerManager.h"

#include "app/explorer/ConfirmForm.h"
#include "dialogs/ErrorForm.h"
#include "liba/Path.h"
#include "model/Document.h"
#include "model/FileHelpers.h"
#include "os/FileInfo.h"
#include "os/PathMacros.h"
#include "skinner/forms/FormImpl.h"
#include "skinner/forms/FormsDisabler.h"
#include "skinner/loops/MessageLoop.h"
#include "skinner/skin/Properties.h"

namespace {

std::u16string name_of(std::u16string_view path)
{
    return liba::get_file_name(liba::remove_trailing_separator(path));
}

bool is_plain_file(const std::u16string& path)
{
    const os::FileInfo info(path);
    return info.exists() && !info.is_directory();
}

// Playback of the file, or of a file inside the folder, ends before the
// file goes: a player must not read a file that moved or was written over.
void stop_playing(std::u16string_view path)
{
    Document* document = Document::instance();
    if (!document || !document->is_playing() || path.empty())
        return;
    const std::u16string current = os::expand_path_macros(document->get_current_file());
    if (current.empty() || !liba::is_path_under(os::expand_path_macros(path), current))
        return;
    document->stop(nullptr);
    document->notify(Document::Changes {});
}

}

ExplorerManager::ExplorerManager(
    skinner::Form& parent, skinner::Properties& properties, std::u16string_view confirm_form)
    : m_parent(parent)
    , m_properties(properties)
    , m_confirm_form(confirm_form)
    , m_progress(&parent, properties)
{
}

ExplorerManager::~ExplorerManager() = default;

std::u16string ExplorerManager::message_text(
    std::u16string_view key, std::u16string_view source, std::u16string_view target) const
{
    std::u16string text = m_parent.properties().translate(key);
    text = replace_all(text, u"%src%", source);
    return replace_all(text, u"%dst%", target);
}

int ExplorerManager::ask(std::u16string_view key, std::u16string_view source, std::u16string_view target)
{
    ConfirmForm form(&m_parent, m_properties, m_confirm_form);
    form.set_texts(m_parent.properties().translate(std::u16string(key) + u"_caption"),
        message_text(key, source, target));
    return form.ask();
}

void ExplorerManager::report(std::u16string_view key, std::u16string_view source, std::u16string_view target)
{
    ErrorForm form(&m_parent, m_properties);
    form.set_texts(m_parent.properties().translate(std::u16string(key) + u"_caption"),
        message_text(key, source, target));
    form.do_modal();
}

// Questions and reports

FileManager::Answer ExplorerManager::on_delete_read_only(const std::u16string& path)
{
    return Answer(ask(u"on_delete_read_only", path, {}));
}

FileManager::Answer ExplorerManager::on_overwrite(const std::u16string&, const std::u16string& target)
{
    return Answer(ask(u"on_overwrite", {}, name_of(target)));
}

FileManager::Answer ExplorerManager::on_overwrite_read_only(
    const std::u16string&, const std::u16string& target)
{
    return Answer(ask(u"on_overwrite_read_only", {}, name_of(target)));
}

FileManager::Answer ExplorerManager::on_move_read_only(const std::u16string& source, const std::u16string&)
{
    return Answer(ask(u"on_move_read_only", name_of(source), {}));
}

bool ExplorerManager::on_recursive_operation_error(const std::u16string& source, const std::u16string& target)
{
    report(u"on_recursive_operation_error", source, target);
    return true;
}

bool ExplorerManager::on_self_operation_error(const std::u16string& source, const std::u16string& target)
{
    report(u"on_self_operation_error", source, target);
    return true;
}

bool ExplorerManager::on_delete_error(const std::u16string& path)
{
    report(u"on_delete_error", name_of(path), {});
    return false;
}

bool ExplorerManager::on_copy_error(const std::u16string& source, const std::u16string&)
{
    report(u"on_copy_error", name_of(source), {});
    return false;
}

bool ExplorerManager::on_move_error(const std::u16string& source, const std::u16string&)
{
    report(u"on_move_error", name_of(source), {});
    return false;
}

bool ExplorerManager::on_progress(
    const std::u16string& path, const std::u16string&, double file_fraction, double total_fraction)
{
    m_progress.set_progress(name_of(path), file_fraction, total_fraction);
    skinner::process_pending_messages();
    return !m_progress.is_cancelled();
}

// List operations

FileManager::PathList ExplorerManager::add_bookmark_files(const PathList& paths)
{
    PathList expanded;
    m_companions.clear();
    for (const std::u16string& path : paths) {
        expanded.push_back(path);
        if (os::FileInfo(path).is_directory())
            continue;
        const std::u16string bookmarks = bookmark_file_name(path);
        if (!is_plain_file(bookmarks))
            continue;
        expanded.push_back(bookmarks);
        m_companions[bookmarks] = path;
    }
    return expanded;
}

bool ExplorerManager::stays_with_recording(const std::u16string& path) const
{
    const auto found = m_companions.find(path);
    return found != m_companions.end() && os::FileInfo(found->second).exists();
}

template<typename Operation>
bool ExplorerManager::run_list(std::u16string_view key, const PathList& paths, Operation operation)
{
    const skinner::Properties& texts = m_parent.properties();
    m_progress.set_texts(texts.translate(std::u16string(key) + u"_caption"), texts.translate(key));
    m_progress.show(true);
    bool result = false;
    {
        skinner::FormsDisabler disabler(m_progress);
        result = operation(add_bookmark_files(paths));
    }
    m_companions.clear();
    m_progress.show(false);
    m_parent.window().set_foreground();
    return result;
}

bool ExplorerManager::delete_files(const PathList& paths)
{
    return run_list(u"on_progress_delete", paths,
        [this](const PathList& list) { return FileManager::delete_files(list); });
}

bool ExplorerManager::copy_files(const PathList& paths, const std::u16string& destination)
{
    return run_list(u"on_progress_copy", paths,
        [&](const PathList& list) { return FileManager::copy_files(list, destination); });
}

bool ExplorerManager::move_files(const PathList& paths, const std::u16string& destination)
{
    return run_list(u"on_progress_move", paths,
        [&](const PathList& list) { return FileManager::move_files(list, destination); });
}

bool ExplorerManager::delete_file(const std::u16string& path)
{
    if (stays_with_recording(path))
        return true;
    stop_playing(path);
    return FileManager::delete_file(path);
}

bool ExplorerManager::copy_file(const std::u16string& source, const std::u16string& target)
{
    stop_playing(target);
    return FileManager::copy_file(source, target);
}

bool ExplorerManager::move_file(const std::u16string& source, const std::u16string& target)
{
    if (stays_with_recording(source))
        return true;
    stop_playing(source);
    stop_playing(target);
    return FileManager::move_file(source, target);
}

// Rename

bool ExplorerManager::rename(const std::u16string& path, const std::u16string& new_name)
{
    const std::u16string item = liba::remove_trailing_separator(path);
    const std::u16string folder = liba::get_directory(item);
    const std::u16string old_name = liba::get_file_name(item);
    stop_playing(item);
    stop_playing(liba::join_path(folder, new_name));
    bool renamed = false;
    if (old_name != new_name && liba::names_equal(old_name, new_name)) {
        // Through a name of its own, so that a file system that ignores case
        // does not take the new name for another file to overwrite.
        std::u16string temporary = unique_file_name(folder, old_name + u".renaming", u"tmp");
        if (!temporary.empty())
            temporary += u".tmp";
        renamed = !temporary.empty() && FileManager::rename(item, temporary);
        if (renamed && !FileManager::rename(liba::join_path(folder, temporary), new_name)) {
            FileManager::rename(liba::join_path(folder, temporary), old_name);
            renamed = false;
        }
    } else {
        renamed = FileManager::rename(item, new_name);
        // Answered no to overwriting: nothing moved, and nothing to report.
        if (renamed && os::FileInfo(item).exists())
            return true;
    }
    if (!renamed) {
        if (old_name != new_name)
            report(u"on_move_error", old_name, new_name);
        return false;
    }
    const std::u16string bookmarks = bookmark_file_name(item);
    if (is_plain_file(bookmarks)) {
        os::FileInfo info(bookmarks);
        info.set_read_only(false);
        info.move_to(bookmark_file_name(liba::join_path(folder, new_name)));
    }
    return true;
}
