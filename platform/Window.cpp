#include "platform/Window.h"

#include "platform/detail/MessageState.h"

#include <algorithm>
#include <utility>

namespace platform {

using namespace detail;

namespace detail {

std::u16string fold_case(std::u16string_view text)
{
    std::u16string folded(text);
    for (auto& c : folded) {
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return folded;
}

Window first_top_level_window(std::u16string_view class_name)
{
    std::u16string key = fold_case(class_name);
    std::lock_guard lock(state().mutex);
    for (auto& [id, record] : state().windows) {
        if (record.parent == no_window && fold_case(record.window_class->name) == key)
            return Window { id };
    }
    return no_window;
}

void drop_windows_of(const std::shared_ptr<ThreadQueue>& queue)
{
    std::vector<std::u16string> reachable;
    std::vector<std::shared_ptr<const WindowProc>> procedures; // freed outside the lock
    {
        std::lock_guard lock(state().mutex);
        auto& windows = state().windows;
        for (auto it = windows.begin(); it != windows.end();) {
            if (it->second.queue != queue) {
                ++it;
                continue;
            }
            if (it->second.parent == no_window && it->second.window_class->reachable)
                reachable.push_back(it->second.window_class->name);
            procedures.push_back(std::move(it->second.procedure));
            it = windows.erase(it);
        }
    }
    for (auto& name : reachable)
        reachable_window_destroyed(name);
}

}

namespace {

template<typename T, typename F>
T with_window(Window window, T fallback, F read)
{
    std::lock_guard lock(state().mutex);
    auto it = state().windows.find(static_cast<std::uint32_t>(window));
    return it == state().windows.end() ? fallback : read(it->second);
}

}

bool register_window_class(const WindowClass& window_class)
{
    auto record = std::make_shared<WindowClassRecord>();
    record->name = window_class.name;
    record->procedure
        = window_class.procedure ? window_class.procedure : WindowProc(default_window_procedure);
    record->reachable = window_class.reachable_from_other_processes;
    std::lock_guard lock(state().mutex);
    return state().classes.emplace(fold_case(window_class.name), std::move(record)).second;
}

Window create_window(const WindowParams& params)
{
    auto queue = current_queue();
    Window window;
    std::shared_ptr<WindowClassRecord> window_class;
    {
        std::lock_guard lock(state().mutex);
        auto found = state().classes.find(fold_case(params.class_name));
        if (found == state().classes.end())
            return no_window;
        if (params.parent != no_window
            && !state().windows.contains(static_cast<std::uint32_t>(params.parent)))
            return no_window;
        window_class = found->second;
        WindowRecord record;
        record.window_class = window_class;
        record.title = params.title;
        record.style = params.style;
        record.parent = params.parent;
        record.queue = queue;
        record.procedure = std::make_shared<const WindowProc>(window_class->procedure);
        window = Window { state().next_window++ };
        state().windows.emplace(static_cast<std::uint32_t>(window), std::move(record));
    }
    if (params.parent == no_window && window_class->reachable)
        reachable_window_created(window_class->name);
    return window;
}

Window create_window(std::u16string_view class_name, Window parent)
{
    WindowParams params;
    params.class_name = class_name;
    params.parent = parent;
    return create_window(params);
}

bool destroy_window(Window window)
{
    if (window_thread(window) != current_thread_id())
        return false;
    send_message(window, msg::destroy);
    std::shared_ptr<const WindowProc> procedure; // freed outside the lock
    std::shared_ptr<ThreadQueue> queue;
    std::u16string reachable;
    {
        std::lock_guard lock(state().mutex);
        auto it = state().windows.find(static_cast<std::uint32_t>(window));
        if (it == state().windows.end())
            return false; // destroyed by its own destroy handler
        procedure = std::move(it->second.procedure);
        queue = it->second.queue;
        if (it->second.parent == no_window && it->second.window_class->reachable)
            reachable = it->second.window_class->name;
        state().windows.erase(it);
    }
    {
        std::lock_guard lock(queue->mutex);
        std::erase_if(queue->timers, [&](const QueueTimer& t) { return t.window == window; });
    }
    if (!reachable.empty())
        reachable_window_destroyed(reachable);
    return true;
}

bool is_window(Window window)
{
    return with_window(window, false, [](const WindowRecord&) { return true; });
}

std::u16string window_class_name(Window window)
{
    return with_window(window, std::u16string(), [](const WindowRecord& r) { return r.window_class->name; });
}

std::u16string window_title(Window window)
{
    return with_window(window, std::u16string(), [](const WindowRecord& r) { return r.title; });
}

Window window_parent(Window window)
{
    return with_window(window, no_window, [](const WindowRecord& r) { return r.parent; });
}

std::uint32_t window_style(Window window)
{
    return with_window(window, std::uint32_t(0), [](const WindowRecord& r) { return r.style; });
}

void set_window_style(Window window, std::uint32_t style)
{
    std::lock_guard lock(state().mutex);
    auto it = state().windows.find(static_cast<std::uint32_t>(window));
    if (it != state().windows.end())
        it->second.style = style;
}

ThreadId window_thread(Window window)
{
    return with_window(window, ThreadId(0), [](const WindowRecord& r) { return r.queue->id; });
}

std::vector<Window> top_level_windows()
{
    std::vector<Window> result;
    std::lock_guard lock(state().mutex);
    for (auto& [id, record] : state().windows) {
        if (record.parent == no_window)
            result.push_back(Window { id });
    }
    return result;
}

WindowProc window_procedure(Window window)
{
    return with_window(window, WindowProc(), [](const WindowRecord& r) { return *r.procedure; });
}

WindowProc set_window_procedure(Window window, WindowProc procedure)
{
    auto replacement = std::make_shared<const WindowProc>(
        procedure ? std::move(procedure) : WindowProc(default_window_procedure));
    std::shared_ptr<const WindowProc> previous; // may be running: its last owner may be a caller
    {
        std::lock_guard lock(state().mutex);
        auto it = state().windows.find(static_cast<std::uint32_t>(window));
        if (it == state().windows.end())
            return {};
        previous = std::exchange(it->second.procedure, std::move(replacement));
    }
    return *previous;
}

LResult default_window_procedure(Window, MessageId, WParam, LParam)
{
    return 0;
}

}
