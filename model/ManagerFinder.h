#pragma once

#include "os/Finder.h"

class FileManager;

// Applies one file operation to each entry of a folder; a step that
// answers false stops the search.
class ManagerFinder : public os::Finder {
public:
    enum class Mode { remove = 0, copy = 1, move = 2 };

    // destination is the folder that receives copied or moved entries.
    ManagerFinder(FileManager& manager, Mode mode, std::u16string destination = {});

    bool on_file(const std::u16string& path) override;
    bool on_folder(const std::u16string& path) override;

    bool stopped() const { return m_stopped; }

private:
    bool record(bool go_on);
    std::u16string target_of(const std::u16string& path) const;

    bool m_stopped { false };
    FileManager& m_manager;
    Mode m_mode;
    std::u16string m_destination;
};
