#pragma once

#include "model/ManagerFinder.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Delete, copy, move and rename over lists of files and folders, folders
// recursively. Every question, error and progress step goes through a
// virtual hook; a file explorer derives its own manager to ask the user.
// The base class answers on its own: questions abort, errors stop, progress
// goes on.
//
// Operations and error hooks return true to go on with the next item and
// false to stop the whole operation. A symbolic link is an item of its own:
// it is removed, moved or copied as a link and never walked into, and its
// target's read-only state is neither asked about nor changed.
class FileManager {
public:
    using PathList = std::vector<std::u16string>;

    // The answers of the question hooks. Any value other than 1 to 4 goes
    // ahead like yes; all and skip_all stand for the rest of the manager's life.
    enum class Answer {
        yes = 0, // go ahead with this item
        skip = 1, // skip it; ask again next time
        all = 2, // go ahead with this and every later item, without asking
        skip_all = 3, // skip this and every later item, without asking
        abort = 4, // abort the whole operation
    };

    // Work counted per folder, on top of the files' bytes.
    static constexpr uint64_t folder_work = 1000;

    // Whether the path is, or holds, a file that must stay where it is and
    // not be written over (what a running recording writes to).
    using InUse = std::function<bool(const std::u16string& path)>;

    // Nothing is in use.
    FileManager() = default;
    explicit FileManager(InUse in_use);
    virtual ~FileManager() = default;

    virtual bool delete_files(const PathList& paths);
    virtual bool copy_files(const PathList& paths, const std::u16string& destination);
    virtual bool move_files(const PathList& paths, const std::u16string& destination);
    // Renames within the item's folder; the new name is one plain name.
    virtual bool rename(const std::u16string& path, const std::u16string& new_name);

    virtual bool delete_file(const std::u16string& path);
    virtual bool delete_folder(const std::u16string& path);
    virtual bool copy_folder(const std::u16string& source, const std::u16string& target);
    virtual bool copy_file(const std::u16string& source, const std::u16string& target);
    virtual bool move_file(const std::u16string& source, const std::u16string& target);
    virtual bool move_folder(const std::u16string& source, const std::u16string& target);

    virtual Answer on_delete_read_only(const std::u16string&) { return Answer::abort; }

    virtual Answer on_overwrite(const std::u16string&, const std::u16string&) { return Answer::abort; }

    virtual Answer on_overwrite_read_only(const std::u16string&, const std::u16string&) { return Answer::abort; }

    virtual Answer on_move_read_only(const std::u16string&, const std::u16string&) { return Answer::abort; }

    // Results of these two are not consulted: the operation has been refused.
    virtual bool on_recursive_operation_error(const std::u16string&, const std::u16string&) { return true; }

    virtual bool on_self_operation_error(const std::u16string&, const std::u16string&) { return true; }

    virtual bool on_delete_error(const std::u16string&) { return false; }

    virtual bool on_copy_error(const std::u16string&, const std::u16string&) { return false; }

    virtual bool on_move_error(const std::u16string&, const std::u16string&) { return false; }

    // False stops the operation after the current step; a copy asks after every block.
    virtual bool on_progress(const std::u16string&, const std::u16string&, double, double) { return true; }

    // Bytes of work in the listed items: file sizes plus folder_work per folder.
    uint64_t calculate_total(const PathList& paths);
    // done / total, at most 0.99 (0 when there is no work).
    double get_total_fraction() const;
    // Whether the target may be written: true when it does not exist or the
    // questions allow it. aborted is set when the user aborted.
    bool confirm_overwrite(bool& aborted, const std::u16string& source, const std::u16string& target);
    // Refuses copying or moving an item onto itself or a folder into itself,
    // through the matching error hook.
    bool check_targets(const PathList& paths, const std::u16string& destination);
    // Copies the bytes into a new target. False is a copy error to report;
    // a failed or aborted copy leaves no target behind.
    bool copy_contents(const std::u16string& source, const std::u16string& target, bool& aborted);

    uint64_t total() const { return m_total; }

    uint64_t done() const { return m_done; }

private:
    enum class Decision { Go, Skip, Abort };
    static Decision decide(Answer answer);
    template<typename Question>
    static Decision ask(Answer& standing, Question question);

    bool run_list(const PathList& paths, const std::u16string& destination, ManagerFinder::Mode mode);
    bool create_target_folder(const std::u16string& target);
    // The first step of copying or moving one item: progress, then the self check.
    bool begin_transfer(const std::u16string& source, const std::u16string& target, double fraction);
    // Copies or moves a folder entry by entry into the target folder.
    bool transfer_folder(const std::u16string& source, const std::u16string& target, ManagerFinder::Mode mode);
    bool in_use(const std::u16string& path) const;

    Answer m_overwrite_answer { Answer::skip };
    Answer m_delete_read_only_answer { Answer::skip };
    Answer m_overwrite_read_only_answer { Answer::skip };
    Answer m_move_read_only_answer { Answer::skip };
    uint64_t m_total { 0 };
    uint64_t m_done { 0 };
    InUse m_in_use;
};
