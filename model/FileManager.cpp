#include "model/FileManager.h"

#include "liba/Path.h"
#include "model/ManagerCalculator.h"
#include "model/ManagerFinder.h"
#include "os/File.h"
#include "os/FileInfo.h"
#include "os/FileSystem.h"
#include "os/PathMacros.h"
#include "platform/core/Win32Error.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t block_size = 32768;

bool is_link(const std::u16string& path)
{
    return os::FileInfo(path).is_link();
}

std::u16string item_name(const std::u16string& path)
{
    return liba::get_file_name(liba::remove_trailing_separator(path));
}

// The path as the system takes it and paths compare: macros expanded.
std::u16string native_path(std::u16string_view path)
{
    return liba::normalize_path(os::expand_path_macros(path));
}

// The folder with every link resolved; as written when it cannot be resolved.
std::u16string resolved_folder(std::u16string_view folder)
{
    std::u16string native = native_path(folder);
    std::u16string resolved = native.empty() ? std::u16string() : os::resolve_path(native);
    return resolved.empty() ? native : resolved;
}

// The item's own name is kept: a link names itself, not what it points to.
std::u16string resolved_item(std::u16string_view path)
{
    std::u16string native = native_path(path);
    std::u16string parent = liba::get_parent_directory(native);
    if (parent.empty())
        return native;
    return liba::join_path(resolved_folder(parent), liba::get_file_name(native));
}

// Whether two paths name one item, also when a linked folder leads to it.
bool same_item(const std::u16string& a, const std::u16string& b)
{
    return native_path(a) == native_path(b) || resolved_item(a) == resolved_item(b);
}

bool is_plain_name(std::u16string_view name)
{
    return !name.empty() && name != u"." && name != u".."
        && name.find_first_of(std::u16string_view(u"/\\\0", 3)) == std::u16string_view::npos;
}

bool is_zero(const char* data, std::size_t size)
{
    static const char zeros[block_size] {};
    return std::memcmp(data, zeros, size) == 0;
}

// Makes room for a copy: a link is replaced rather than written through, and
// a read-only file the user agreed to overwrite is made writable.
void prepare_target(const std::u16string& target, bool remove_file)
{
    os::FileInfo info(target);
    if (!info.exists() || (info.is_directory() && !info.is_link()))
        return;
    if (info.is_link() || remove_file) {
        info.set_read_only(false);
        info.remove();
    } else {
        info.set_read_only(false);
    }
}

bool copy_link(const std::u16string& source, const std::u16string& target)
{
    prepare_target(target, true);
    return os::copy_link(native_path(source), native_path(target));
}

// A rename, or for a link that cannot be renamed there (another file
// system), a new link and then removal of the old one.
bool move_item(os::FileInfo& source, const std::u16string& target)
{
    if (source.move_to(target))
        return true;
    if (!source.is_link()
        || !os::copy_link(native_path(source.path()), native_path(target)))
        return false;
    source.remove();
    return true;
}

}

FileManager::FileManager(InUse in_use)
    : m_in_use(std::move(in_use))
{
}

// A file in use, or a folder holding one, stays where it is, and nothing is
// written over it.
bool FileManager::in_use(const std::u16string& path) const
{
    return m_in_use && m_in_use(path);
}

FileManager::Decision FileManager::decide(Answer answer)
{
    switch (answer) {
    case Answer::abort:
        return Decision::Abort;
    case Answer::skip:
    case Answer::skip_all:
        return Decision::Skip;
    default:
        return Decision::Go;
    }
}

template<typename Question>
FileManager::Decision FileManager::ask(Answer& standing, Question question)
{
    if (standing == Answer::all || standing == Answer::skip_all)
        return decide(standing);
    standing = question();
    return decide(standing);
}

uint64_t FileManager::calculate_total(const PathList& paths)
{
    ManagerCalculator calculator;
    for (auto& path : paths) {
        if (os::FileInfo(path).is_directory())
            calculator.on_folder(path);
        else
            calculator.on_file(path);
    }
    return calculator.total();
}

double FileManager::get_total_fraction() const
{
    if (m_total == 0)
        return 0.0;
    return std::min(static_cast<double>(m_done) / static_cast<double>(m_total), 0.99);
}

bool FileManager::check_targets(const PathList& paths, const std::u16string& destination)
{
    std::u16string real_destination = resolved_folder(destination);
    for (auto& path : paths) {
        std::u16string name = item_name(path);
        std::u16string target = liba::join_path(destination, name);
        std::u16string real_path = resolved_item(path);
        std::u16string real_target = liba::join_path(real_destination, name);
        if (native_path(path) == native_path(target) || real_path == real_target) {
            on_self_operation_error(path, target);
            return false;
        }
        os::FileInfo info(path);
        if (info.is_directory() && !info.is_link()
            && (liba::is_path_under(native_path(path), native_path(target))
                || liba::is_path_under(real_path, real_target))) {
            on_recursive_operation_error(path, target);
            return false;
        }
    }
    return true;
}

bool FileManager::run_list(const PathList& paths, const std::u16string& destination, ManagerFinder::Mode mode)
{
    if (mode != ManagerFinder::Mode::remove && !check_targets(paths, destination))
        return false;
    m_total = calculate_total(paths);
    m_done = 0;
    on_progress({}, {}, 0.0, 0.0);
    ManagerFinder step(*this, mode, destination);
    for (auto& path : paths) {
        bool go_on = os::FileInfo(path).is_directory() ? step.on_folder(path) : step.on_file(path);
        if (!go_on)
            return false;
    }
    on_progress({}, {}, 1.0, 1.0);
    return true;
}

bool FileManager::delete_files(const PathList& paths)
{
    return run_list(paths, {}, ManagerFinder::Mode::remove);
}

bool FileManager::copy_files(const PathList& paths, const std::u16string& destination)
{
    return run_list(paths, destination, ManagerFinder::Mode::copy);
}

bool FileManager::move_files(const PathList& paths, const std::u16string& destination)
{
    return run_list(paths, destination, ManagerFinder::Mode::move);
}

bool FileManager::confirm_overwrite(bool& aborted, const std::u16string& source, const std::u16string& target)
{
    aborted = false;
    os::FileInfo info(target);
    if (!info.exists())
        return true;
    Decision decision = ask(m_overwrite_answer, [&] { return on_overwrite(source, target); });
    if (decision != Decision::Go) {
        aborted = decision == Decision::Abort;
        return false;
    }
    // A link is replaced, so what it points to is not what gets overwritten.
    if (!info.is_read_only() || info.is_link())
        return true;
    decision = ask(m_overwrite_read_only_answer, [&] { return on_overwrite_read_only(source, target); });
    aborted = decision == Decision::Abort;
    return decision == Decision::Go;
}

bool FileManager::delete_file(const std::u16string& path)
{
    if (!on_progress(path, {}, 0.5, get_total_fraction()))
        return false;
    if (in_use(path))
        return on_delete_error(path);
    os::FileInfo info(path);
    // A link's read-only state is its target's, which deleting the link leaves alone.
    if (info.is_read_only() && !info.is_link()) {
        Decision decision = ask(m_delete_read_only_answer, [&] { return on_delete_read_only(path); });
        if (decision != Decision::Go)
            return decision == Decision::Skip;
        info.set_read_only(false);
    }
    if (!info.remove())
        return on_delete_error(path);
    m_done += info.size();
    return on_progress(path, {}, 1.0, get_total_fraction());
}

bool FileManager::delete_folder(const std::u16string& path)
{
    os::FileInfo info(path);
    if (info.is_link()) {
        m_done += folder_work;
        return delete_file(path);
    }
    ManagerFinder finder(*this, ManagerFinder::Mode::remove);
    finder.find(path, u"*", u"*", false);
    bool go_on = !finder.stopped();
    // A folder that keeps skipped entries stays without a word; any other failure is reported.
    if (go_on && !info.remove() && info.error() != platform::error_dir_not_empty
        && info.error() != platform::error_already_exists)
        go_on = on_delete_error(path);
    m_done += folder_work;
    bool progress = on_progress(path, {}, 1.0, get_total_fraction());
    return progress && go_on;
}

bool FileManager::create_target_folder(const std::u16string& target)
{
    std::u16string folder = liba::remove_trailing_separator(target);
    os::FileInfo info(folder);
    if (info.exists())
        return info.is_directory() && !info.is_link();
    return os::FileInfo(liba::get_parent_directory(folder)).create_directory(liba::get_file_name(folder));
}

bool FileManager::copy_folder(const std::u16string& source, const std::u16string& target)
{
    return transfer_folder(source, target, ManagerFinder::Mode::copy);
}

bool FileManager::transfer_folder(
    const std::u16string& source, const std::u16string& target, ManagerFinder::Mode mode)
{
    bool move = mode == ManagerFinder::Mode::move;
    if (is_link(source)) {
        m_done += folder_work;
        return move ? move_file(source, target) : copy_file(source, target);
    }
    if (!create_target_folder(target))
        return move ? on_move_error(source, target) : on_copy_error(source, target);
    ManagerFinder finder(*this, mode, target);
    finder.find(source, u"*", u"*", false);
    if (move) {
        os::FileInfo folder(source);
        folder.set_read_only(false);
        // Fails, harmlessly, while skipped entries remain.
        folder.remove();
    }
    m_done += folder_work;
    bool progress = on_progress(source, {}, 1.0, get_total_fraction());
    return progress && !finder.stopped();
}

bool FileManager::begin_transfer(const std::u16string& source, const std::u16string& target, double fraction)
{
    if (!on_progress(source, target, fraction, get_total_fraction()))
        return false;
    // Reached through a linked folder, the target may be the source itself.
    if (same_item(source, target)) {
        on_self_operation_error(source, target);
        return false;
    }
    return true;
}

bool FileManager::copy_file(const std::u16string& source, const std::u16string& target)
{
    if (!begin_transfer(source, target, 0.0))
        return false;
    if (in_use(target))
        return on_copy_error(source, target);
    bool aborted = false;
    if (confirm_overwrite(aborted, source, target)) {
        os::FileInfo info(source);
        bool copied = false;
        if (info.is_link() && info.is_directory()) {
            copied = copy_link(source, target);
        } else {
            prepare_target(target, false);
            copied = copy_contents(source, target, aborted);
        }
        if (!copied)
            return on_copy_error(source, target);
    }
    if (!on_progress(source, target, 1.0, get_total_fraction()))
        return false;
    return !aborted;
}

bool FileManager::copy_contents(const std::u16string& source, const std::u16string& target, bool& aborted)
{
    aborted = false;
    os::File in(source, os::File::Mode::read);
    if (!in.is_ok())
        return false;
    uint64_t size = in.size();
    os::File out(target, os::File::Mode::write);
    if (!out.is_ok())
        return false;

    // Sized at once, so the target is all zeros already and zero blocks need
    // no writing: a sparse source stays sparse.
    bool ok = out.truncate(size) && out.seek(0);
    if (ok) {
        std::vector<char> buffer(block_size);
        uint64_t position = 0;
        while (position < size) {
            std::size_t n = static_cast<std::size_t>(std::min<uint64_t>(size - position, block_size));
            // A short read (the source shrank or failed) must not leave stale bytes in the copy.
            if (in.read(buffer.data(), n) != n) {
                ok = false;
                break;
            }
            bool written
                = is_zero(buffer.data(), n) ? out.seek(position + n) : out.write(buffer.data(), n) == n;
            if (!written) {
                ok = false;
                break;
            }
            position += n;
            if (!on_progress(source, target, static_cast<double>(position) / static_cast<double>(size),
                    get_total_fraction())) {
                aborted = true;
                break;
            }
        }
    }
    m_done += size;
    if (ok && !aborted && out.is_ok()) {
        out.close();
        return true;
    }
    out.close();
    os::FileInfo(target).remove();
    return aborted;
}

bool FileManager::move_file(const std::u16string& source, const std::u16string& target)
{
    if (!begin_transfer(source, target, 0.5))
        return false;
    if (in_use(source) || in_use(target))
        return on_move_error(source, target);
    os::FileInfo info(source);
    if (info.is_read_only() && !info.is_link()) {
        Decision decision = ask(m_move_read_only_answer, [&] { return on_move_read_only(source, target); });
        if (decision != Decision::Go)
            return decision == Decision::Skip;
    }
    bool aborted = false;
    if (confirm_overwrite(aborted, source, target)) {
        prepare_target(target, true);
        if (!move_item(info, target))
            return on_move_error(source, target);
        m_done += info.size();
    }
    bool progress = on_progress(source, target, 1.0, get_total_fraction());
    return progress && !aborted;
}

bool FileManager::move_folder(const std::u16string& source, const std::u16string& target)
{
    return transfer_folder(source, target, ManagerFinder::Mode::move);
}

bool FileManager::rename(const std::u16string& path, const std::u16string& new_name)
{
    // Anything but one plain name could point the target at another folder, even the item's own.
    if (!is_plain_name(new_name))
        return false;
    std::u16string item = liba::remove_trailing_separator(path);
    std::u16string target = liba::join_path(liba::get_directory(item), new_name);
    if (in_use(item) || in_use(target))
        return false;
    if (same_item(item, target))
        return true;
    bool aborted = false;
    if (!confirm_overwrite(aborted, item, target))
        return !aborted;
    if (os::FileInfo(target).exists() && !delete_files({ target }))
        return false;
    return os::FileInfo(item).move_to(target);
}
