#include "skinner/menus/ControlMenuMain.h"

#include "skinner/core/Form.h"

namespace skinner {

ControlMenuMain::ControlMenuMain(Form& form, std::u16string_view id)
    : Control(form, id)
{
    set_want_focus(false);
    form.register_menu_main(*this);
}

ControlMenuMain::~ControlMenuMain()
{
    get_form().unregister_menu_main(*this);
}

}
