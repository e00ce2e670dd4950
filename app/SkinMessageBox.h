#pragma once

#include "platform/core/MessageBox.h"
#include "platform/core/Thread.h"

// The program's message box: the settings skin's error form, run modally
// over whatever form runs, on the thread that made this box. The text also
// goes to stderr as before; only there when it comes from another thread,
// while a box is already up, or when the settings skin is unusable.
class SkinMessageBox final : public platform::MessageBox {
public:
    SkinMessageBox();

    void show(std::u16string_view text, std::u16string_view caption) override;

private:
    platform::ThreadId m_gui_thread;
    bool m_showing = false;
};
