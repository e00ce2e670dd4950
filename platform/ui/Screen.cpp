#include "platform/ui/Screen.h"

#include "platform/ui/detail/Shell.h"
#include "platform/ui/detail/WindowTree.h"
#include "platform/ui/DeviceContext.h"
#include "platform/ui/Font.h"
#include "platform/ui/Shell.h"
#include "platform/ui/WindowManager.h"

#include <atomic>
#include <charconv>
#include <cstdlib>

namespace platform {

using namespace detail;

namespace {

constexpr ColorRef title_color = rgb(0, 40, 120);
constexpr ColorRef title_text_color = rgb(255, 255, 255);
constexpr ColorRef desktop_color = rgb(236, 236, 236);
constexpr ColorRef bottom_bar_color = rgb(210, 210, 210);
constexpr ColorRef bottom_line_color = rgb(128, 128, 128);

// Shows nothing: the screen lives only in memory.
class NoDisplay final : public Display {
public:
    ScreenMode mode() const override { return m_mode; }
    void present(const Bitmap&, const Rect&) override { }

private:
    ScreenMode m_mode = screen_mode_from_environment();
};

struct ScreenState {
    Display* display = nullptr;
    std::uint64_t serial = 0;
    ScreenMode mode;
    std::unique_ptr<Bitmap> bitmap;
    Rect changed;
    Region desktop_invalid;
    bool bars_dirty = true;
    bool display_on = true;
    bool presented_off = false;
    bool input_panel = false;
    std::unique_ptr<Font> title_font;
};

ScreenState& screen()
{
    static ScreenState* s = new ScreenState;
    Display& current = display();
    if (s->display != &current || s->serial != current.serial) {
        s->display = &current;
        s->serial = current.serial;
        s->mode = current.mode();
        s->bitmap = Bitmap::create(s->mode.size.width, s->mode.size.height);
        if (!s->bitmap) {
            s->mode = ScreenMode {};
            s->bitmap = Bitmap::create(s->mode.size.width, s->mode.size.height);
        }
        s->changed = s->bitmap->bounds();
        s->desktop_invalid = Region(s->bitmap->bounds());
        s->bars_dirty = true;
        s->display_on = true;
        s->presented_off = false;
        s->title_font.reset();
    }
    return *s;
}

std::optional<std::int32_t> number(std::string_view text)
{
    std::int32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

Rect ok_button_rect()
{
    Rect bar = title_bar_rect();
    std::int32_t inset = std::max(2, bar.height() / 8);
    return { bar.right - bar.height() * 3 / 2, bar.top + inset, bar.right - inset, bar.bottom - inset };
}

struct Foreground {
    std::u16string title;
    bool ok_button = false;
    bool bars = true;
};

Foreground foreground_state()
{
    std::lock_guard lock(state().mutex);
    Foreground f;
    f.bars = bars_shown(state());
    if (WindowRecord* r = find_record(state(), state().active)) {
        f.title = r->title;
        f.ok_button = r->ok_button;
    }
    return f;
}

const Font& title_font()
{
    auto& s = screen();
    if (!s.title_font)
        s.title_font = Font::create({ -bar_height() / 2, 700, false, false, u"Tahoma" });
    return s.title_font ? *s.title_font : Font::system();
}

void paint_title_bar(DeviceContext& dc, const Foreground& f)
{
    Rect bar = title_bar_rect();
    dc.fill_rect(bar, title_color);
    dc.select_font(&title_font());
    dc.set_text_color(title_text_color);
    dc.set_background_mode(transparent_background);
    Rect text { bar.left + bar.height() / 4, bar.top, bar.right, bar.bottom };
    if (f.ok_button) {
        Rect ok = ok_button_rect();
        text.right = ok.left - 2;
        Point frame[] = { { ok.left, ok.top }, { ok.right - 1, ok.top }, { ok.right - 1, ok.bottom - 1 },
            { ok.left, ok.bottom - 1 }, { ok.left, ok.top } };
        dc.polyline(frame, title_text_color);
        Rect label = ok;
        dc.draw_text(u"ok", label, dt::center | dt::vcenter | dt::single_line | dt::no_prefix);
    }
    dc.draw_text(f.title, text, dt::left | dt::vcenter | dt::single_line | dt::no_prefix | dt::end_ellipsis);
    dc.select_font(nullptr);
}

// What no top-level window covers: the desktop, with the bottom bar's look.
void paint_desktop(DeviceContext& dc, const Region& area)
{
    Rect bottom = bottom_bar_rect();
    for (auto& r : area.rects()) {
        dc.fill_rect(r, desktop_color);
        Rect in_bar = r.intersect(bottom);
        if (!in_bar.empty()) {
            dc.fill_rect(in_bar, bottom_bar_color);
            dc.fill_rect(in_bar.intersect({ bottom.left, bottom.top, bottom.right, bottom.top + 1 }), bottom_line_color);
        }
    }
}

Region desktop_region()
{
    std::lock_guard lock(state().mutex);
    auto& s = state();
    Region desktop(screen().bitmap->bounds());
    if (bars_shown(s))
        desktop.subtract(title_bar_rect());
    for (auto& [id, r] : s.windows) {
        if (!is_child(r) && (r.style & ws::visible))
            desktop.subtract(screen_rect(s, Window { id }));
    }
    return desktop;
}

}

std::optional<ScreenMode> parse_screen_mode(std::string_view text)
{
    std::optional<std::int32_t> dpi;
    if (auto at = text.find('@'); at != std::string_view::npos) {
        dpi = number(text.substr(at + 1));
        if (!dpi)
            return std::nullopt;
        text = text.substr(0, at);
    }
    auto x = text.find('x');
    if (x == std::string_view::npos)
        return std::nullopt;
    auto width = number(text.substr(0, x));
    auto height = number(text.substr(x + 1));
    if (!width || !height || *width < 64 || *height < 64 || *width > 4096 || *height > 4096)
        return std::nullopt;
    if (!dpi)
        dpi = std::min(*width, *height) >= 480 ? 192 : 96;
    if (*dpi < 48 || *dpi > 480)
        return std::nullopt;
    return ScreenMode { { *width, *height }, *dpi };
}

ScreenMode screen_mode_from_environment()
{
    const char* text = std::getenv("ORVANTA_SCREEN");
    if (auto mode = parse_screen_mode(text ? text : ""))
        return *mode;
    return {};
}

std::uint64_t Display::next_serial()
{
    static std::atomic<std::uint64_t> counter { 0 };
    return ++counter;
}

ServiceSlot<Display>& display_slot()
{
    static ServiceSlot<Display> slot([]() -> std::unique_ptr<Display> { return std::make_unique<NoDisplay>(); });
    return slot;
}

Size screen_size()
{
    return screen().mode.size;
}

std::int32_t screen_dpi()
{
    return screen().mode.dpi;
}

std::int32_t bar_height()
{
    if (shell_kind() != ShellKind::smartphone)
        return 26 * screen_dpi() / 96;
    return smartphone_bar_height(screen_size().width);
}

std::int32_t smartphone_bar_height(std::int32_t screen_width)
{
    switch (screen_width) {
    case 176:
        return 20;
    case 240:
        return 27;
    case 352:
        return 40;
    case 480:
        return 54;
    default:
        return 0;
    }
}

Rect title_bar_rect()
{
    return { 0, 0, screen_size().width, bar_height() };
}

Rect bottom_bar_rect()
{
    Size size = screen_size();
    return { 0, size.height - bar_height(), size.width, size.height };
}

bool bars_shown()
{
    std::lock_guard lock(state().mutex);
    return detail::bars_shown(state());
}

Rect work_area()
{
    Size size = screen_size();
    if (!bars_shown())
        return { 0, 0, size.width, size.height };
    return { 0, bar_height(), size.width, size.height - bar_height() };
}

bool set_full_screen(Window w, std::uint32_t flags)
{
    {
        std::lock_guard lock(state().mutex);
        auto& s = state();
        WindowRecord* r = find_record(s, w);
        if (!r)
            return false;
        bool before = r->full_screen;
        if (flags & shfs::hide_task_bar)
            r->full_screen = true;
        if (flags & shfs::show_task_bar)
            r->full_screen = false;
        if (before == r->full_screen || s.active != w)
            return true;
        bars_changed();
        Region all(screen().bitmap->bounds());
        invalidate_screen(s, all);
    }
    foreground_changed();
    return true;
}

bool show_ok_button(Window w, bool show)
{
    std::lock_guard lock(state().mutex);
    WindowRecord* r = find_record(state(), w);
    if (!r)
        return false;
    r->ok_button = show;
    bars_changed();
    return true;
}

void set_input_panel_preference(bool raised)
{
    screen().input_panel = raised;
}

bool input_panel_preference()
{
    return screen().input_panel;
}

bool input_panel_raised()
{
    return false;
}

void set_display_on(bool on)
{
    auto& s = screen();
    if (s.display_on == on)
        return;
    s.display_on = on;
    s.presented_off = false;
    s.changed = s.bitmap->bounds();
}

bool is_display_on()
{
    return screen().display_on;
}

const Bitmap& screen_bitmap()
{
    return *screen().bitmap;
}

void present_screen()
{
    auto& s = screen();
    Region desktop = desktop_region();
    desktop.intersect(s.desktop_invalid);
    s.desktop_invalid.clear();
    if (!desktop.empty() || s.bars_dirty) {
        DeviceContext dc = DeviceContext::for_screen();
        paint_desktop(dc, desktop);
        if (s.bars_dirty) {
            s.bars_dirty = false;
            Foreground f = foreground_state();
            if (f.bars)
                paint_title_bar(dc, f);
        }
    }
    if (!s.display_on) {
        if (s.presented_off)
            return;
        s.presented_off = true;
        auto black = Bitmap::create(s.bitmap->width(), s.bitmap->height());
        s.display->present(*black, black->bounds());
        s.changed = {};
        return;
    }
    if (s.changed.empty())
        return;
    Rect changed = std::exchange(s.changed, Rect {});
    s.display->present(*s.bitmap, changed);
}

namespace detail {

Bitmap& framebuffer()
{
    return *screen().bitmap;
}

void screen_touched(const Rect& r)
{
    auto& s = screen();
    s.changed = s.changed.unite(r.intersect(s.bitmap->bounds()));
}

void bars_changed()
{
    screen().bars_dirty = true;
}

void desktop_invalidated(const Region& area)
{
    screen().desktop_invalid.add(area);
}

bool ok_button_hit(Point p)
{
    Foreground f = foreground_state();
    return f.bars && f.ok_button && ok_button_rect().contains(p);
}

}

}
