#include "platform/ui/headless/HeadlessDisplay.h"

#include "platform/core/Clock.h"
#include "platform/core/Thread.h"
#include "platform/core/headless/FakeClock.h"
#include "platform/ui/Input.h"
#include "platform/ui/Screen.h"

#include <stb/stb_image_write.h>

#include <cstdio>

namespace platform::headless {

HeadlessDisplay::HeadlessDisplay(ScreenMode mode)
    : m_mode(mode)
    , m_shown(Bitmap::create(mode.size.width, mode.size.height))
{
    set_wait_hook(this);
}

HeadlessDisplay::~HeadlessDisplay()
{
    set_wait_hook(nullptr);
}

void HeadlessDisplay::present(const Bitmap& screen, const Rect& changed)
{
    Rect r = changed.intersect(m_shown->bounds());
    for (std::int32_t y = r.top; y < r.bottom; ++y)
        std::copy(screen.row(y) + r.left, screen.row(y) + r.right, m_shown->row(y) + r.left);
    ++m_presents;
    m_last_changed = r;
}

ColorRef HeadlessDisplay::pixel(Point p) const
{
    if (!m_shown->bounds().contains(p))
        return invalid_color;
    return color_of(m_shown->at(p.x, p.y) & 0xFFFFFF);
}

bool HeadlessDisplay::save_png(const std::string& path) const
{
    std::vector<std::uint8_t> rgb;
    rgb.reserve(m_shown->pixels().size() * 3);
    for (Pixel p : m_shown->pixels()) {
        rgb.push_back(std::uint8_t(p >> 16));
        rgb.push_back(std::uint8_t(p >> 8));
        rgb.push_back(std::uint8_t(p));
    }
    return stbi_write_png(path.c_str(), m_shown->width(), m_shown->height(), 3, rgb.data(), m_shown->width() * 3) != 0;
}

HeadlessDisplay& HeadlessDisplay::add(std::uint32_t delay, std::function<void()> action)
{
    m_script.push_back({ delay, std::move(action) });
    return *this;
}

HeadlessDisplay& HeadlessDisplay::pen_down(Point p, std::uint32_t after)
{
    return add(after, [p] { platform::pen_down(p); });
}

HeadlessDisplay& HeadlessDisplay::pen_move(Point p, std::uint32_t after)
{
    return add(after, [p] { platform::pen_move(p); });
}

HeadlessDisplay& HeadlessDisplay::pen_up(Point p, std::uint32_t after)
{
    return add(after, [p] { platform::pen_up(p); });
}

HeadlessDisplay& HeadlessDisplay::tap(Point p, std::uint32_t after)
{
    return pen_down(p, after).pen_up(p);
}

HeadlessDisplay& HeadlessDisplay::hold_down(Point p, std::uint32_t after)
{
    return add(after, [p] { platform::hold_down(p); });
}

HeadlessDisplay& HeadlessDisplay::hold_up(Point p, std::uint32_t after)
{
    return add(after, [p] { platform::hold_up(p); });
}

HeadlessDisplay& HeadlessDisplay::key(std::uint32_t k, std::uint32_t after)
{
    return key_down(k, after).key_up(k);
}

HeadlessDisplay& HeadlessDisplay::key_down(std::uint32_t k, std::uint32_t after)
{
    return add(after, [k] { platform::key_down(k); });
}

HeadlessDisplay& HeadlessDisplay::key_up(std::uint32_t k, std::uint32_t after)
{
    return add(after, [k] { platform::key_up(k); });
}

HeadlessDisplay& HeadlessDisplay::text(std::u16string t, std::uint32_t after)
{
    return add(after, [t = std::move(t)] { text_input(t); });
}

HeadlessDisplay& HeadlessDisplay::wheel(Point p, std::int32_t notches, std::uint32_t after)
{
    return add(after, [p, notches] { platform::wheel(p, notches * wheel_delta); });
}

HeadlessDisplay& HeadlessDisplay::close_request(std::uint32_t after)
{
    return add(after, [] { request_close(); });
}

HeadlessDisplay& HeadlessDisplay::pause(std::uint32_t ms)
{
    return add(ms, [] { });
}

HeadlessDisplay& HeadlessDisplay::call(std::function<void()> f, std::uint32_t after)
{
    return add(after, std::move(f));
}

void HeadlessDisplay::let_time_pass(std::uint32_t ms)
{
    if (ms == 0)
        return;
    if (auto* fake = dynamic_cast<FakeClock*>(&clock()))
        fake->advance(ms);
    else
        sleep_ms(ms);
}

void HeadlessDisplay::advance_script(std::optional<std::uint32_t> limit)
{
    Step& step = m_script[m_next];
    std::uint32_t pass = limit ? std::min(*limit, step.delay) : step.delay;
    let_time_pass(pass);
    step.delay -= pass;
    if (step.delay > 0)
        return;
    auto action = std::move(step.action);
    if (++m_next == m_script.size()) {
        m_script.clear();
        m_next = 0;
    }
    action();
}

void HeadlessDisplay::wait(std::optional<std::uint32_t> timeout_ms)
{
    present_screen();
    if (!m_script.empty()) {
        advance_script(timeout_ms);
        return;
    }
    if (timeout_ms) {
        let_time_pass(std::max<std::uint32_t>(*timeout_ms, 1));
        return;
    }
    std::fprintf(stderr, "headless display: a loop waits for input that the script does not give\n");
    m_stalled = true;
    post_quit_message(1);
}

void HeadlessDisplay::run_until_idle()
{
    for (;;) {
        Message m;
        while (peek_message(m)) {
            if (m.message == msg::quit) {
                post_quit_message(int(m.wparam));
                present_screen();
                return;
            }
            translate_message(m);
            dispatch_message(m);
        }
        present_screen();
        if (m_script.empty())
            return;
        // Timers due before the next step fire first: time passes a millisecond at a time.
        advance_script(1);
    }
}

}
