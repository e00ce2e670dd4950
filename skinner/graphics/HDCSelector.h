#pragma once

#include "liba/Nocopy.h"
#include "platform/ui/DeviceContext.h"

#include <optional>

namespace skinner {

// A memory context with a bitmap selected in it for the holder's life; empty
// without a bitmap. A bitmap that cannot be selected (it is selected in
// another context) ends the program with a fatal report.
class HDCSelector : private liba::Nocopy {
public:
    explicit HDCSelector(platform::Bitmap* bitmap);
    ~HDCSelector();

    bool empty() const { return !m_dc; }

    // Null when empty.
    platform::DeviceContext* dc() { return m_dc ? &*m_dc : nullptr; }

private:
    std::optional<platform::DeviceContext> m_dc;
    platform::Bitmap* m_previous = nullptr;
};

}
