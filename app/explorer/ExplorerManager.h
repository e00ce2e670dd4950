#pragma once

#include "app/explorer/FileProgressForm.h"
#include "model/FileManager.h"

#include <map>
#include <string>
#include <string_view>

namespace skinner {
class Form;
class Properties;
}

// The file explorer's file operations: questions and errors in the skin's
// forms with the language's texts, a progress form with a cancel button
// during a list operation, and a recording's bookmark file (".bm") carried
// along with it. A file that plays is stopped before it is deleted, moved,
// renamed or written over. One manager serves one command.
class ExplorerManager : public FileManager {
public:
    // confirm_form: "Confirm5Way" for lists, "ConfirmYesNo" for one item.
    ExplorerManager(skinner::Form& parent, skinner::Properties& properties, std::u16string_view confirm_form);
    ~ExplorerManager() override;

    bool delete_files(const PathList& paths) override;
    bool copy_files(const PathList& paths, const std::u16string& destination) override;
    bool move_files(const PathList& paths, const std::u16string& destination) override;
    // Also renames the bookmark file; a change of case alone is a rename too.
    bool rename(const std::u16string& path, const std::u16string& new_name) override;

    bool delete_file(const std::u16string& path) override;
    bool copy_file(const std::u16string& source, const std::u16string& target) override;
    bool move_file(const std::u16string& source, const std::u16string& target) override;

    Answer on_delete_read_only(const std::u16string& path) override;
    Answer on_overwrite(const std::u16string& source, const std::u16string& target) override;
    Answer on_overwrite_read_only(const std::u16string& source, const std::u16string& target) override;
    Answer on_move_read_only(const std::u16string& source, const std::u16string& target) override;
    bool on_recursive_operation_error(const std::u16string& source, const std::u16string& target) override;
    bool on_self_operation_error(const std::u16string& source, const std::u16string& target) override;
    bool on_delete_error(const std::u16string& path) override;
    bool on_copy_error(const std::u16string& source, const std::u16string& target) override;
    bool on_move_error(const std::u16string& source, const std::u16string& target) override;
    bool on_progress(const std::u16string& path, const std::u16string& message, double file_fraction,
        double total_fraction) override;

    // Each path, and after each file its bookmark file when there is one.
    PathList add_bookmark_files(const PathList& paths);

    // The key's translation with "%src%" and "%dst%" replaced.
    std::u16string message_text(
        std::u16string_view key, std::u16string_view source, std::u16string_view target) const;

    FileProgressForm& progress_form() { return m_progress; }

    skinner::Form& parent() const { return m_parent; }

protected:
    // The question in the confirmation form; the form's answer (0 to 4).
    virtual int ask(std::u16string_view key, std::u16string_view source, std::u16string_view target);
    // The error in the error form.
    virtual void report(std::u16string_view key, std::u16string_view source, std::u16string_view target);

private:
    template<typename Operation>
    bool run_list(std::u16string_view key, const PathList& paths, Operation operation);
    // A bookmark file whose recording is still where it was stays with it.
    bool stays_with_recording(const std::u16string& path) const;

    skinner::Form& m_parent;
    skinner::Properties& m_properties;
    std::u16string m_confirm_form;
    FileProgressForm m_progress;
    // Bookmark files added to the running list, with their recordings.
    std::map<std::u16string, std::u16string> m_companions;
};
