#pragma once

#include "os/Finder.h"

#include <cstdint>

// Sizes the work of a file operation: file bytes plus a fixed amount per
// folder, through every sub-folder except linked ones.
class ManagerCalculator : public os::Finder {
public:
    bool on_file(const std::u16string& path) override;
    bool on_folder(const std::u16string& path) override;

    uint64_t total() const { return m_total; }

private:
    uint64_t m_total { 0 };
};
