#pragma once

#include "playlist/List.h"

namespace playlist {

// An ASX file: "ENTRY" elements under the root "ASX", each with a "REF"
// (the path in "HREF"), an optional "TITLE" and a "PARAM" (name, value).
class ListASX : public List {
public:
    explicit ListASX(const std::u16string& path);

    bool is_loaded() const override { return m_loaded; }

    bool save(const std::u16string& path) override;
};

}
