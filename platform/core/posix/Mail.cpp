#include "platform/core/Mail.h"

#include "platform/core/Launcher.h"

#include <mutex>

namespace platform {

namespace {

std::mutex program_lock;
std::u16string program = u"xdg-email";

}

MailStart start_mail_with_attachment(std::u16string_view path)
{
    std::u16string name = mail_program();
    if (!is_installed(name))
        return MailStart::no_mail_program;
    return launch({ name, u"--attach", std::u16string(path) }) ? MailStart::started : MailStart::failed;
}

std::u16string mail_program()
{
    std::lock_guard guard(program_lock);
    return program;
}

void set_mail_program(std::u16string name)
{
    std::lock_guard guard(program_lock);
    program = std::move(name);
}

}
