// A second process for the cross-process tests.
//   platform_peer serve <class>   answers copy-data and command messages until stdin closes;
//                                 a line "busy" keeps its GUI thread busy (it says "busy")
//                                 until a line "free"
//   platform_peer lock <name>     holds the named mutex until stdin closes
//   platform_peer share <name> <size>  opens the shared memory block, says whether it started
//                                  it, fills it with 0xab and keeps it open until stdin closes
#include "platform/core/MessageQueue.h"
#include "platform/core/NamedMutex.h"
#include "platform/core/SharedMemory.h"
#include "platform/core/Utf8.h"
#include "platform/core/Window.h"

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <cstdlib>
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

std::string hex(const void* bytes, std::size_t size)
{
    std::string out;
    char two[3];
    for (std::size_t i = 0; i < size; ++i) {
        std::snprintf(two, sizeof two, "%02x", static_cast<const unsigned char*>(bytes)[i]);
        out += two;
    }
    return out.empty() ? "-" : out;
}

constexpr MessageId busy_message = msg::user + 300;
std::mutex busy_mutex;
std::condition_variable busy_changed;
bool busy = false;

void set_busy(bool value)
{
    std::lock_guard lock(busy_mutex);
    busy = value;
    busy_changed.notify_all();
}

int serve(const std::u16string& class_name)
{
    ThreadId gui = current_thread_id();
    register_window_class({ u"PeerOwner", {}, false });
    auto procedure = [gui](const char* which) {
        return [gui, which](Window, MessageId id, WParam wparam, LParam lparam) -> LResult {
            const char* thread = current_thread_id() == gui ? "gui" : "other";
            if (id == msg::copy_data) {
                const CopyData* data = copy_data_message.payload(wparam, lparam);
                say(std::string("copy ") + which + " " + thread + " " + std::to_string(data->data_word) + " "
                    + hex(data->bytes, data->size));
                return LResult(data->size) + 1;
            }
            if (id == msg::user_command) {
                say(std::string("command ") + which + " " + thread + " " + std::to_string(wparam));
                return LResult(wparam) * 2;
            }
            return 0;
        };
    };
    register_window_class({ class_name, {}, true });
    Window owner = create_window(u"PeerOwner");
    // An owned window of the class comes first but is no target.
    Window popup = create_window(class_name, owner);
    set_window_procedure(popup, procedure("popup"));
    Window main = create_window(class_name);
    set_window_procedure(main, procedure("main"));
    std::thread([gui] {
        std::string line;
        char c;
        while (read(0, &c, 1) > 0) {
            if (c != '\n') {
                line += c;
                continue;
            }
            if (line == "busy")
                post_thread_message(gui, busy_message);
            if (line == "free")
                set_busy(false);
            line.clear();
        }
        set_busy(false);
        post_thread_message(gui, msg::quit);
    }).detach();
    Message m;
    peek_message(m, {}, 0, 0, Peek::keep);
    say("ready");
    while (get_message(m)) {
        if (m.message == busy_message) {
            set_busy(true);
            say("busy");
            std::unique_lock lock(busy_mutex);
            busy_changed.wait(lock, [] { return !busy; });
        }
        dispatch_message(m);
    }
    destroy_window(main);
    say("bye");
    return 0;
}

int hold(const std::u16string& name)
{
    auto mutex = NamedMutex::open(name);
    if (!mutex || !mutex->lock())
        return 1;
    say("locked");
    char c;
    while (read(0, &c, 1) > 0) { }
    return 0;
}

int share(const std::u16string& name, std::size_t size)
{
    auto block = SharedMemory::open(name, size);
    if (!block)
        return 1;
    const bool created = block->created();
    std::memset(block->data(), 0xab, block->size());
    say(created ? "created" : "opened");
    char c;
    while (read(0, &c, 1) > 0) { }
    return 0;
}

}

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "serve") == 0)
        return serve(from_utf8(argv[2]));
    if (argc == 3 && std::strcmp(argv[1], "lock") == 0)
        return hold(from_utf8(argv[2]));
    if (argc == 4 && std::strcmp(argv[1], "share") == 0)
        return share(from_utf8(argv[2]), std::strtoul(argv[3], nullptr, 10));
    return 2;
}
