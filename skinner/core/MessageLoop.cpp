#include "skinner/core/MessageLoop.h"

#include "platform/core/MessageQueue.h"
#include "platform/core/Window.h"
#include "platform/ui/Input.h"
#include "skinner/skin/Edition.h"

#include <algorithm>
#include <vector>

namespace skinner {

namespace {

// One running loop and whether its window's close message has been processed
// (perhaps by a loop inside it, which then goes on).
struct LoopFrame {
    platform::Window window;
    bool closed = false;
    // Closes once the loops inside it have ended.
    bool close_pending = false;
};

std::vector<LoopFrame*>& loop_frames()
{
    static std::vector<LoopFrame*> frames; // innermost last
    return frames;
}

void note_close(platform::Window window)
{
    auto& frames = loop_frames();
    for (auto it = frames.rbegin(); it != frames.rend(); ++it) {
        if ((*it)->window == window) {
            (*it)->closed = true;
            return;
        }
    }
}

bool close_pending()
{
    const auto& frames = loop_frames();
    return std::any_of(frames.begin(), frames.end(), [](const LoopFrame* f) { return f->close_pending; });
}

// A loop ended, or one began, while a window waits for the loops inside its own to end.
void close_innermost_if_pending()
{
    if (close_pending())
        platform::post_message(loop_frames().back()->window, platform::msg::close);
}

platform::LParam printable(platform::WParam character)
{
    return character < 32 ? 0 : platform::LParam(character);
}

void send_key(const platform::Message& message)
{
    using namespace platform;
    if (message.message == msg::key_down || message.message == msg::sys_key_down) {
        Message character;
        LParam text = 0;
        if (peek_message(character, message.window, msg::character, msg::character, Peek::remove))
            text = printable(character.wparam);
        send_message(message.window, msg::user_key, message.wparam, text);
    } else if (message.message == msg::character) {
        send_message(message.window, msg::user_key, message.wparam, printable(message.wparam));
    }
}

class ScopedFrame {
public:
    explicit ScopedFrame(platform::Window window)
        : m_frame { window }
    {
        loop_frames().push_back(&m_frame);
    }
    ~ScopedFrame() { loop_frames().pop_back(); }
    ScopedFrame(const ScopedFrame&) = delete;
    ScopedFrame& operator=(const ScopedFrame&) = delete;

    bool closed() const { return m_frame.closed; }

private:
    LoopFrame m_frame;
};

}

bool process_message(const platform::Message& message)
{
    platform::translate_message(message);
    platform::dispatch_message(message);
    if (message.message == platform::msg::form_close) {
        note_close(message.window);
        return false;
    }
    if constexpr (!is_smartphone)
        send_key(message);
    return true;
}

void run_message_loop(platform::Window window)
{
    {
        ScopedFrame frame(window);
        close_innermost_if_pending();
        while (!frame.closed() && platform::is_window(window)) {
            platform::Message message;
            if (!platform::get_message(message)) {
                platform::post_quit_message(int(message.wparam));
                return;
            }
            process_message(message);
        }
    }
    close_innermost_if_pending();
}

bool close_inner_loops_first(platform::Window window)
{
    auto& frames = loop_frames();
    auto found = std::find_if(frames.rbegin(), frames.rend(), [&](const LoopFrame* f) { return f->window == window; });
    if (found == frames.rend() || found == frames.rbegin())
        return false;
    (*found)->close_pending = true;
    close_innermost_if_pending();
    return true;
}

void process_pending_messages()
{
    platform::Message message;
    while (platform::peek_message(message)) {
        if (message.message == platform::msg::quit) {
            platform::post_quit_message(int(message.wparam));
            return;
        }
        if (!process_message(message))
            return;
    }
}

}
