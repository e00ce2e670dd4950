#pragma once

#include "os/Finder.h"

class ControlListFiles;

// Hands every entry of one folder to a file list, which keeps what it knows.
class FilesFinder : public os::Finder {
public:
    explicit FilesFinder(ControlListFiles& list)
        : m_list(list)
    {
    }

    bool on_file(const std::u16string& path) override;
    bool on_folder(const std::u16string& path) override;

private:
    ControlListFiles& m_list;
};
