#include "app/SkinMessageBox.h"

#include "app/SettingsSkinStore.h"
#include "dialogs/ErrorForm.h"
#include "platform/Utf8.h"
#include "skinner/loops/ScreenMetrics.h"

#include <cstdio>
#include <string>

SkinMessageBox::SkinMessageBox()
    : m_gui_thread(platform::current_thread_id())
{
}

void SkinMessageBox::show(std::u16string_view text, std::u16string_view caption)
{
    const std::string line = platform::to_utf8(caption) + ": " + platform::to_utf8(text) + "\n";
    std::fputs(line.c_str(), stderr);
    // A fatal report from inside a box, or from a worker, must not open another form.
    if (m_showing || platform::current_thread_id() != m_gui_thread)
        return;
    skinner::Properties& store = get_settings_skin();
    if (!store.check_version(settings_skin_version, skinner::get_screen_size()))
        return;
    m_showing = true;
    ErrorForm form(skinner::Form::current_modal(), store);
    form.set_texts(caption, text);
    form.do_modal();
    m_showing = false;
}
