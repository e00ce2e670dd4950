#pragma once

#include <string>
#include <utility>
#include <vector>

// One entry of the open-file dialog's type list: its label and the
// extensions it shows, without dots.
struct FileType {
    explicit FileType(std::u16string label)
        : label(std::move(label))
    {
    }

    FileType(std::u16string label, std::u16string extension)
        : label(std::move(label))
        , extensions { std::move(extension) }
    {
    }

    std::u16string label;
    std::vector<std::u16string> extensions;
};
