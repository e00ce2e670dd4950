#include "skinner/core/ModalLoop.h"

#include "platform/core/MessageQueue.h"
#include "skinner/core/Form.h"
#include "skinner/core/FormsDisabler.h"
#include "skinner/core/MessageLoop.h"
#include "skinner/skin/ScreenMetrics.h"

#include <optional>
#include <vector>

namespace skinner {

namespace {

constexpr platform::WParam work_area_changed = 0xE0;

}

void run_modal_loop(Form& form)
{
    std::optional<FormsDisabler> disabler;
    if (form.owner())
        disabler.emplace(form);
    if (form.has_menu_main())
        if (MenuManagerImpl* menus = form.window().menu_manager())
            menus->build(form);
    run_message_loop(form.window().handle());
}

void set_full_screen_mode(bool flag)
{
    if (!store_full_screen_mode(flag))
        return;
    // A window placing itself may make or delete forms: walk a copy.
    for (Form* form : std::vector<Form*>(Form::forms()))
        platform::send_message(form->window().handle(), platform::msg::setting_change, work_area_changed);
}

}
