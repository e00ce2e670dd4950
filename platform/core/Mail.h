#pragma once

#include <string>
#include <string_view>

// The desktop's mail composer, started with a file attached: xdg-email
// --attach <path>, by argument vector (no shell sees the path).
namespace platform {

enum class MailStart {
    started,
    no_mail_program, // the mail program is not installed (not on PATH)
    failed, // it is there but could not be started
};

MailStart start_mail_with_attachment(std::u16string_view path);

// The program started, "xdg-email" unless replaced (tests).
std::u16string mail_program();
void set_mail_program(std::u16string program);

}
