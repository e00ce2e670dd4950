#pragma once

namespace skinner {

// What reads its looks from a skin and reads them again when the skin or the
// language changes: a form attaches itself to its properties for its life.
class SkinClient {
public:
    virtual void reload_skin() = 0;

protected:
    ~SkinClient() = default;
};

}
