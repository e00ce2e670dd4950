#pragma once

#include "os/Finder.h"

#include <string>
#include <vector>

// Collects the titles of the language files a search reports.
class LangFinder : public os::Finder {
public:
    explicit LangFinder(std::vector<std::u16string>& names)
        : m_names(names)
    {
    }

    bool on_file(const std::u16string& path) override;

private:
    std::vector<std::u16string>& m_names;
};
