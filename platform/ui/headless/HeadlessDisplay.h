#pragma once

#include "platform/core/MessageQueue.h"
#include "platform/ui/Display.h"
#include "platform/core/Geometry.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform::headless {

// A device screen in memory, for tests. Install it on the GUI thread (the
// test's) with ScopedService<Display, HeadlessDisplay>(display_slot(), mode);
// it becomes that thread's wait hook for its life.
//
// Input is scripted: each step runs after the time given (milliseconds on
// the program's clock, which should be a fake one: the display moves it), in
// order. run_until_idle() dispatches messages, runs the due steps and presents,
// until nothing is left to do. A loop that waits inside a handler (a modal
// loop, tap-and-hold recognition) is fed from the same script; one that waits
// when the script is empty and no timer is due is stalled: it gets the quit
// message and stalled() turns true.
class HeadlessDisplay final : public Display, public WaitHook {
public:
    explicit HeadlessDisplay(ScreenMode = {});
    ~HeadlessDisplay() override;

    ScreenMode mode() const override { return m_mode; }
    void present(const Bitmap& screen, const Rect& changed) override;
    void show_cursor(CursorShape shape) override { m_cursors.push_back(shape); }
    void wait(std::optional<std::uint32_t> timeout_ms) override;
    void wake() override { }

    // Script steps (screen coordinates), each after_ms after the previous one.
    HeadlessDisplay& pen_down(Point, std::uint32_t after_ms = 0);
    HeadlessDisplay& pen_move(Point, std::uint32_t after_ms = 0);
    HeadlessDisplay& pen_up(Point, std::uint32_t after_ms = 0);
    HeadlessDisplay& tap(Point, std::uint32_t after_ms = 0); // down and up
    HeadlessDisplay& hold_down(Point, std::uint32_t after_ms = 0); // second button
    HeadlessDisplay& hold_up(Point, std::uint32_t after_ms = 0);
    HeadlessDisplay& key(std::uint32_t virtual_key, std::uint32_t after_ms = 0); // down and up
    HeadlessDisplay& key_down(std::uint32_t virtual_key, std::uint32_t after_ms = 0);
    HeadlessDisplay& key_up(std::uint32_t virtual_key, std::uint32_t after_ms = 0);
    HeadlessDisplay& text(std::u16string, std::uint32_t after_ms = 0);
    HeadlessDisplay& wheel(Point, std::int32_t notches, std::uint32_t after_ms = 0); // + away from the user
    HeadlessDisplay& close_request(std::uint32_t after_ms = 0); // the desktop closes the program
    HeadlessDisplay& pause(std::uint32_t ms);
    HeadlessDisplay& call(std::function<void()>, std::uint32_t after_ms = 0);

    void run_until_idle();
    bool script_done() const { return m_script.empty(); }
    bool stalled() const { return m_stalled; }

    // What the display shows (black while it is off), and how often it was given a frame.
    const Bitmap& shown() const { return *m_shown; }
    ColorRef pixel(Point) const;
    int presents() const { return m_presents; }
    Rect last_changed() const { return m_last_changed; }
    // Every pointer shape shown, in order; the last one shows now.
    const std::vector<CursorShape>& cursors() const { return m_cursors; }
    // Writes what is shown as a PNG file; false when it cannot be written.
    bool save_png(const std::string& path) const;

private:
    struct Step {
        std::uint32_t delay;
        std::function<void()> action;
    };
    HeadlessDisplay& add(std::uint32_t delay, std::function<void()>);
    void let_time_pass(std::uint32_t ms);
    // Moves the clock toward the next step by at most the limit; runs it when due.
    void advance_script(std::optional<std::uint32_t> limit);

    ScreenMode m_mode;
    std::unique_ptr<Bitmap> m_shown;
    std::vector<Step> m_script;
    std::size_t m_next = 0;
    bool m_stalled = false;
    int m_presents = 0;
    Rect m_last_changed;
    std::vector<CursorShape> m_cursors;
};

}
