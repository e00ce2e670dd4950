#pragma once

#include "playlist/List.h"

namespace playlist {

// An offline radio log: "LogEvent" elements under a root "Log", with fades
// in milliseconds, the overlap with the next event as "CrossFade" and the
// start of each event in units of 100 ns.
class ListOfflineRadio : public List {
public:
    explicit ListOfflineRadio(const std::u16string& path);

    bool is_loaded() const override { return m_loaded; }

    bool save(const std::u16string& path) override;
};

}
