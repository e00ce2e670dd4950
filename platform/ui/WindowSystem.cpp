#include "platform/core/Window.h"
#include "platform/core/detail/WindowSystem.h"
#include "platform/ui/Display.h"
#include "platform/ui/Paint.h"
#include "platform/ui/Screen.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/detail/EditBox.h"
#include "platform/ui/detail/WindowTree.h"

// The window system takes its part in the message layer below it, and
// registers the window classes it brings, before main runs. Every program
// that links platform_ui keeps this file (the library's link options name the
// symbol below), whether or not it calls anything of it.
extern "C" void orvanta_platform_ui_window_system() {}

namespace platform {

namespace {

struct Installation {
    Installation()
    {
        detail::WindowSystem system;
        system.work_area = work_area;
        system.take_paint = detail::take_paint;
        system.window_created = detail::window_created;
        system.window_destroying = detail::window_destroying;
        system.paint = [](Window window) { PaintScope paint(window); };
        system.set_focus = [](Window window) { set_focus(window); };
        system.display_serial = [] { return display().serial; };
        system.show_cursor = [](CursorShape shape) { display().show_cursor(shape); };
        detail::install_window_system(system);
        // The shell's single-line edit box (platform/ui/EditBox.h).
        register_window_class({ u"EDIT", detail::edit_box_procedure });
    }
};

const Installation installation;

}

}
