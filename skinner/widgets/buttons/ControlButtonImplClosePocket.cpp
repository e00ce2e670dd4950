#include "skinner/widgets/buttons/ControlButtonImplClosePocket.h"

#include "os/Log.h"
#include "platform/core/MessageQueue.h"
#include "skinner/widgets/buttons/ControlButtonBase.h"
#include "skinner/core/Form.h"

namespace skinner {

void ControlButtonImplClosePocket::on_click(const ButtonClick&)
{
    os::log() << u"ControlButtonImplClosePocket WM_CLOSE sent\n";
    platform::post_message(owner().get_form().window().handle(), platform::msg::close, 0, 0);
}

}
