#include "skinner/widgets/edit/ControlEditImpl.h"

#include "skinner/skin/Edition.h"
#include "skinner/widgets/edit/ControlEditNativeImpl.h"

namespace skinner {

// The Smartphone types through the shell's own edit window and its input modes.
std::unique_ptr<ControlEditImpl> create_edit_impl(ControlEdit& edit)
{
    if constexpr (is_smartphone)
        return std::make_unique<ControlEditNativeImpl>(edit);
    return std::make_unique<ControlEditImpl>();
}

}
