#pragma once

#include "app/explorer/FileItem.h"
#include "skinner/widgets/edit/ControlEdit.h"
#include "skinner/widgets/lists/ControlGrid.h"
#include "skinner/widgets/lists/GridSelectionStrategyMultiRowCE.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The grid of one folder's entries: icon, name, date and size of every file
// whose type it knows, and the sub-folders while the type "Folder" is known,
// sorted with folders first, then playlists. Several rows may be selected;
// the current row is the one that plays. Rows carry their play-list entry.
class ControlListFiles : public skinner::ControlGrid, public skinner::GridSelectionStrategyMultiRowCE {
public:
    static constexpr std::u16string_view folder_type = u"Folder";
    static constexpr std::int32_t column_icon = 0;
    static constexpr std::int32_t column_name = 2;
    static constexpr std::int32_t column_date = 4;
    static constexpr std::int32_t column_size = 6;

    ControlListFiles(skinner::Container& container, std::u16string_view id,
        skinner::ControlMode mode = skinner::ControlMode::named);
    ~ControlListFiles() override;

    std::int32_t get_item_count() const override { return std::int32_t(m_items.size()); }

    std::int32_t get_column_count() const override { return 7; }

    std::int32_t get_column_width(std::int32_t column) const override;
    void paint_item(std::int32_t column, std::int32_t row, skinner::Canvas& canvas, skinner::Point position,
        skinner::Size size, bool selected, bool highlighted) override;
    void load() override;

    // Appends a row when the path's type is known; false when it is not. A
    // status read already (by a folder's listing) spares reading it again.
    virtual bool add_file(const std::u16string& path, const platform::FileStatus* status = nullptr);
    bool add_folder(const std::u16string& path, const platform::FileStatus* status = nullptr);
    // Appends the row as it is (a provisional one, say).
    void add_item(FileItem item);

    // Lists the folder anew, sorted; a folder that cannot be read lists nothing.
    void set_folder(const std::u16string& path);
    // Appends the folder's entries (not those of its sub-folders).
    void scan_folder(const std::u16string& path);

    const std::u16string& folder() const { return m_folder; }

    void add_type(std::u16string_view extension);
    void remove_type(std::u16string_view extension);

    void clear_types() { m_types.clear(); }

    bool has_type(std::u16string_view extension) const { return m_types.contains(std::u16string(extension)); }

    void set_sort_mode(std::int32_t mode);

    std::int32_t get_sort_mode() const { return m_sort_mode; }

    std::vector<FileItem>& items() { return m_items; }

    const std::vector<FileItem>& items() const { return m_items; }

    // The caller checks the index and the selection first.
    const FileItem& item(std::int32_t index) const { return m_items.at(std::size_t(index)); }

    const FileItem& get_selected_item() const { return item(*selected_rows().begin()); }

    std::int32_t selected_count() const { return std::int32_t(selected_rows().size()); }

    // The row's path when exactly one row is selected, else empty.
    std::u16string get_selected_path() const;
    // The paths of the selected rows, in row order.
    std::vector<std::u16string> get_selected_paths() const;
    std::u16string get_current_path() const;
    void set_current_index(std::int32_t index);

    std::int32_t get_current_index() const { return m_current; }

    // Makes the first row of that path current, else none; answers the index.
    std::int32_t find_file(const std::u16string& path);
    // As find_file, and scrolls the row into view.
    void set_current_file(const std::u16string& path);
    // Selects the row of that path alone, scrolled into view; nothing else stays selected.
    void select_file(const std::u16string& path);
    // Brings the row into view from below, so the row after it shows too.
    void scroll_into_view(std::int32_t row);
    void remove_rows();

    skinner::ControlEdit& name_edit() { return m_name_edit; }

    bool is_editing() const { return get_inplace_control() != nullptr; }

    // Starts naming the row in the name column with the text in the box,
    // wholly selected or with the caret at its end.
    void start_naming(std::int32_t row, std::u16string_view text, bool select_text = false);

    // The sort order of two rows under a mode: folders, then playlists, then the rest.
    static bool sorts_before(const FileItem& a, const FileItem& b, std::int32_t mode);

private:
    void load_widths();
    void fit_widths_to_texts();
    void sort();

    skinner::ControlEdit m_name_edit;
    std::vector<FileItem> m_items;
    std::int32_t m_icon_width = 0;
    std::int32_t m_name_width = 0;
    std::int32_t m_date_width = 0;
    std::int32_t m_size_width = -1;
    std::int32_t m_indent_width = 0;
    std::map<std::u16string, skinner::Picture> m_types;
    std::u16string m_folder;
    skinner::ButtonLook m_current_look;
    std::int32_t m_current = -1;
    std::int32_t m_sort_mode = 0;
};
