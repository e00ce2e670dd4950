#pragma once

#include "playlist/List.h"

namespace playlist {

// A multi-track log: "LogEvent" elements under a root "Log" whose "version"
// is "multitracker", with clip and fade data and the start of each event in
// milliseconds.
class ListMultiTracker : public List {
public:
    explicit ListMultiTracker(const std::u16string& path);

    bool is_loaded() const override { return m_loaded; }

    bool save(const std::u16string& path) override;
};

}
