#pragma once

#include "app/explorer/ControlListFiles.h"

// A file list with a header row naming its name, date and size columns.
class ControlListFilesWithHeader : public ControlListFiles {
public:
    using ControlListFiles::ControlListFiles;

    std::int32_t get_header_height() const override { return get_item_height(0); }

    void paint_header_item(
        std::int32_t column, skinner::Canvas& canvas, skinner::Point position, skinner::Size size) override;
};
