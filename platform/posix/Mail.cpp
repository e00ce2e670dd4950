#include "platform/Mail.h"

#include "platform/Launcher.h"
#include "platform/Utf8.h"

#include <cstdlib>
#include <mutex>
#include <unistd.h>

namespace platform {

namespace {

std::mutex program_lock;
std::u16string program = u"xdg-email";

// Where posix_spawnp would find the program.
bool installed(const std::string& name)
{
    if (name.empty())
        return false;
    if (name.find('/') != std::string::npos)
        return access(name.c_str(), X_OK) == 0;
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    for (;;) {
        std::size_t end = folders.find(':', start);
        std::string folder
            = folders.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0)
            return true;
        if (end == std::string::npos)
            return false;
        start = end + 1;
    }
}

}

MailStart start_mail_with_attachment(std::u16string_view path)
{
    std::u16string name = mail_program();
    if (!installed(to_utf8(name)))
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
