// A copy of the program for the single-instance tests.
//   application_peer first <name>        takes the lock, waits for a line on stdin, makes
//                                        its window, releases the lock and serves until
//                                        stdin closes
//   application_peer second <name> <hex> hands the command line (UTF-16 code units in hex,
//                                        "-" for none) to a running copy
#include "os/Application.h"
#include "platform/core/MessageQueue.h"
#include "platform/core/Utf8.h"
#include "platform/core/Window.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <unistd.h>

using namespace platform;

namespace {

void say(const std::string& line)
{
    std::string text = line + "\n";
    [[maybe_unused]] auto ignored = write(1, text.data(), text.size());
}

std::string hex(const std::u16string& text)
{
    std::string out;
    char four[5];
    for (char16_t c : text) {
        std::snprintf(four, sizeof four, "%04x", static_cast<unsigned>(c));
        out += four;
    }
    return out.empty() ? "-" : out;
}

std::u16string unhex(const std::string& text)
{
    std::u16string out;
    for (std::size_t i = 0; text != "-" && i + 4 <= text.size(); i += 4)
        out += static_cast<char16_t>(std::stoul(text.substr(i, 4), nullptr, 16));
    return out;
}

int first(const std::u16string& name)
{
    os::Application application(name);
    if (application.activate_previous_instance(u"first"))
        return 3;
    say("locked");
    char c = 0;
    while (read(0, &c, 1) > 0 && c != '\n') { }

    ThreadId gui = current_thread_id();
    register_window_class({ application.window_class_name(),
        [gui](Window, MessageId id, WParam, LParam lparam) -> LResult {
            if (id != msg::copy_data)
                return 0;
            const CopyData& data = *copy_data_message.payload(0, lparam);
            say(std::string("received ") + (current_thread_id() == gui ? "gui " : "other ")
                + hex(os::Application::command_line_from(data)));
            return 1;
        },
        true });
    Window main = create_window(application.window_class_name());
    application.release_instance_lock();
    std::thread([gui] {
        char c;
        while (read(0, &c, 1) > 0) { }
        post_thread_message(gui, msg::quit);
    }).detach();
    say("ready");
    Message m;
    while (get_message(m))
        dispatch_message(m);
    destroy_window(main);
    say("bye");
    return 0;
}

int second(const std::u16string& name, const std::string& command_line)
{
    os::Application application(name);
    say(application.activate_previous_instance(unhex(command_line)) ? "handed-over" : "start");
    return 0;
}

}

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "first") == 0)
        return first(from_utf8(argv[2]));
    if (argc == 4 && std::strcmp(argv[1], "second") == 0)
        return second(from_utf8(argv[2]), argv[3]);
    return 2;
}
