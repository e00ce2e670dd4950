#pragma once

#include "platform/Message.h"

// The procedure of the system's "EDIT" class.
namespace platform::detail {

LResult edit_box_procedure(Window, MessageId, WParam, LParam);

}
