#include "platform/core/Window.h"

#include "platform/core/detail/MessageState.h"
#include "platform/core/detail/WindowSystem.h"

#include <algorithm>
#include <utility>

namespace platform {

using namespace detail;

namespace detail {

namespace {

constinit WindowSystem installed_system;

bool is_child(const WindowRecord& r)
{
    return (r.style & ws::child) && r.parent != no_window;
}

// Under the state's lock: forget the window's place in the z-order.
void window_erased(MessageState& s, Window w)
{
    std::erase(s.z_order, w);
    for (Window* held : { &s.active, &s.focus, &s.capture }) {
        if (*held == w)
            *held = no_window;
    }
}

}

void install_window_system(const WindowSystem& system)
{
    installed_system = system;
}

const WindowSystem& window_system()
{
    return installed_system;
}

std::vector<Window> descendants_of(Window w)
{
    std::lock_guard lock(state().mutex);
    auto& s = state();
    std::vector<Window> result;
    std::vector<Window> pending { w };
    while (!pending.empty()) {
        Window parent = pending.back();
        pending.pop_back();
        std::vector<Window> children;
        for (auto& [id, r] : s.windows) {
            if (is_child(r) && r.parent == parent)
                children.push_back(Window { id });
        }
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            pending.push_back(*it);
        if (parent != w)
            result.push_back(parent);
    }
    return result;
}

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

Rect initial_rect(const WindowParams& p)
{
    bool child = (p.style & ws::child) && p.parent != no_window;
    auto work_area = window_system().work_area;
    Rect area = child || !work_area ? Rect {} : work_area();
    std::int32_t x = p.x == use_default ? area.left : p.x;
    std::int32_t y = p.x == use_default ? area.top : p.y;
    std::int32_t w = p.width == use_default ? area.width() : std::max(p.width, 0);
    std::int32_t h = p.width == use_default ? area.height() : std::max(p.height, 0);
    return Rect::from({ x, y }, { w, h });
}

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
    record->style = window_class.style;
    std::lock_guard lock(state().mutex);
    return state().classes.emplace(fold_case(window_class.name), std::move(record)).second;
}

Window create_window(const WindowParams& params)
{
    auto queue = current_queue();
    Window window;
    std::shared_ptr<WindowClassRecord> window_class;
    Rect rect = initial_rect(params);
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
        record.ex_style = params.ex_style;
        record.rect = rect;
        window = Window { state().next_window++ };
        state().windows.emplace(static_cast<std::uint32_t>(window), std::move(record));
        state().z_order.insert(state().z_order.begin(), window);
    }
    if (params.parent == no_window && window_class->reachable)
        reachable_window_created(window_class->name);
    if (auto created = window_system().window_created)
        created(window);
    return window;
}

Window create_window(std::u16string_view class_name, Window parent)
{
    WindowParams params;
    params.class_name = class_name;
    params.parent = parent;
    return create_window(params);
}

namespace {

// Drops one window's record, timers and queued messages; false when it is gone.
bool erase_window(Window window)
{
    std::shared_ptr<const WindowProc> procedure; // freed outside the lock
    std::shared_ptr<ThreadQueue> queue;
    std::u16string reachable;
    {
        std::lock_guard lock(state().mutex);
        auto it = state().windows.find(static_cast<std::uint32_t>(window));
        if (it == state().windows.end())
            return false;
        procedure = std::move(it->second.procedure);
        queue = it->second.queue;
        if (it->second.parent == no_window && it->second.window_class->reachable)
            reachable = it->second.window_class->name;
        state().windows.erase(it);
        window_erased(state(), window);
    }
    {
        std::lock_guard lock(queue->mutex);
        std::erase_if(queue->timers, [&](const QueueTimer& t) { return t.window == window; });
        std::erase_if(queue->posted, [&](const Message& m) { return m.window == window; });
    }
    if (!reachable.empty())
        reachable_window_destroyed(reachable);
    return true;
}

}

bool destroy_window(Window window)
{
    if (window_thread(window) != current_thread_id())
        return false;
    std::vector<Window> owned;
    {
        std::lock_guard lock(state().mutex);
        for (auto& [id, r] : state().windows) {
            if (!is_child(r) && r.parent == window)
                owned.push_back(Window { id });
        }
    }
    for (Window o : owned)
        destroy_window(o);
    if (auto destroying = window_system().window_destroying)
        destroying(window);
    std::vector<Window> doomed { window };
    for (Window child : descendants_of(window))
        doomed.push_back(child);
    for (Window w : doomed)
        send_message(w, msg::destroy);
    bool erased = false;
    for (Window w : doomed)
        erased = erase_window(w) || erased;
    return erased; // false when its own destroy handler destroyed it
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

LResult default_window_procedure(Window window, MessageId id, WParam wparam, LParam lparam)
{
    switch (id) {
    case msg::mouse_wheel:
        // A child that does not scroll hands the wheel to its parent.
        if (Window parent = window_parent(window); parent != no_window && (window_style(window) & ws::child))
            return send_message(parent, id, wparam, lparam);
        return 0;
    case msg::paint:
        if (auto paint = window_system().paint)
            paint(window);
        return 0;
    case msg::close:
        destroy_window(window);
        return 0;
    case msg::activate:
        if (auto set_focus = window_system().set_focus; set_focus && (wparam & 0xFFFF) != 0)
            set_focus(window);
        return 0;
    default:
        return 0;
    }
}

}
