#include "skinner/controls/ControlEditImpl.h"

namespace skinner {

// The Smartphone edition's native edit window plugs in here; until it does,
// that edition draws its edit boxes too.
std::unique_ptr<ControlEditImpl> create_edit_impl(ControlEdit&)
{
    return std::make_unique<ControlEditImpl>();
}

}
