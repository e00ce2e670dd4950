#pragma once

#include "platform/core/Message.h"

// The procedure of the system's "EDIT" class.
namespace platform::detail {

LResult edit_box_procedure(Window, MessageId, WParam, LParam);

}
