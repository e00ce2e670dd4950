// Repainting a 480 x 640 device screen: full-screen text, a full-screen
// bitmap, and presenting the screen through SDL. The bitmap copy is compared
// with SDL_BlitSurface doing the same copy; text and presenting with one
// frame at 60 Hz (below 1: fits in a frame that many times over).
#include "platform/core/MessageQueue.h"
#include "platform/core/Service.h"
#include "platform/core/Window.h"
#include "platform/ui/headless/HeadlessDisplay.h"
#include "platform/ui/sdl/SdlDisplay.h"
#include "platform/ui/Font.h"
#include "platform/ui/Paint.h"
#include "platform/ui/Screen.h"
#include "platform/ui/WindowManager.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <functional>

using namespace platform;

namespace {

constexpr double frame_seconds = 1.0 / 60;
const ScreenMode large { { 480, 640 }, 192 };

double seconds_of(const std::function<void()>& work, benchmark::State& state)
{
    double total = 0;
    std::int64_t n = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        work();
        double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(s);
        total += s;
        ++n;
    }
    return n ? total / double(n) : 0;
}

// A full-screen window painted by the function, repainted whole each time.
struct Scene {
    explicit Scene(std::function<void(DeviceContext&)> paint)
        : screen(display_slot(), large)
    {
        register_window_class({ u"BenchWindow", {}, false, 0 });
        WindowParams params;
        params.class_name = u"BenchWindow";
        window = create_window(params);
        set_window_procedure(window, [paint](Window w, MessageId id, WParam wp, LParam lp) -> LResult {
            if (id != msg::paint)
                return default_window_procedure(w, id, wp, lp);
            PaintScope scope(w);
            paint(scope.dc());
            return 0;
        });
        move_window(window, { 0, 0, 480, 640 });
        set_full_screen(window, shfs::hide_task_bar);
        show_window(window, sw::show);
        repaint();
    }
    ~Scene() { destroy_window(window); }
    void repaint()
    {
        invalidate_rect(window);
        screen->run_until_idle();
    }

    ScopedService<Display, headless::HeadlessDisplay> screen;
    Window window;
};

void FullScreenText(benchmark::State& state)
{
    auto font = Font::create({ -22, 400, false, false, u"Tahoma" });
    Scene scene([&](DeviceContext& dc) {
        dc.fill_rect({ 0, 0, 480, 640 }, rgb(255, 255, 255));
        dc.select_font(font.get());
        dc.set_background_mode(transparent_background);
        dc.set_text_color(rgb(0, 0, 0));
        for (int row = 0; row < 24; ++row) {
            Rect line { 8, row * 26, 472, row * 26 + 26 };
            dc.draw_text(u"07  Artist name \u2013 A rather long track title.mp3", line,
                dt::single_line | dt::vcenter | dt::no_prefix | dt::end_ellipsis);
        }
    });
    double ours = seconds_of([&] { scene.repaint(); }, state);
    state.counters["ms"] = ours * 1000;
    state.counters["vs_frame"] = ours / frame_seconds;
}

void FullScreenBitmap(benchmark::State& state)
{
    auto picture = Bitmap::create(480, 640);
    for (std::size_t i = 0; i < picture->pixels().size(); ++i)
        picture->pixels()[i] = Pixel(i * 2654435761u) & 0xFFFFFF;
    DeviceContext source = DeviceContext::memory();
    source.select_bitmap(picture.get());
    Scene scene([&](DeviceContext& dc) { dc.bit_blt({ 0, 0, 480, 640 }, source, {}, rop::source_copy); });
    double ours = seconds_of([&] { scene.repaint(); }, state);

    // The same copy with SDL's own blitter, surface to surface.
    SDL_Surface* from = SDL_CreateRGBSurfaceWithFormatFrom(picture->pixels().data(), 480, 640, 32, 480 * 4,
        SDL_PIXELFORMAT_ARGB8888);
    SDL_Surface* to = SDL_CreateRGBSurfaceWithFormat(0, 480, 640, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_SetSurfaceBlendMode(from, SDL_BLENDMODE_NONE);
    double reference = 1e9;
    for (int run = 0; run < 50; ++run) {
        auto start = std::chrono::steady_clock::now();
        SDL_BlitSurface(from, nullptr, to, nullptr);
        reference = std::min(reference, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    SDL_FreeSurface(from);
    SDL_FreeSurface(to);
    state.counters["ms"] = ours * 1000;
    state.counters["vs_sdl_blit"] = ours / reference;
    state.counters["vs_frame"] = ours / frame_seconds;
}

// SDL's dummy video driver: the CPU side of a present (texture upload, copy, present).
void PresentSdl(benchmark::State& state)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("ORVANTA_ZOOM", "2", 1);
    auto screen = Bitmap::create(480, 640);
    screen->fill(0x00336699);
    sdl::SdlDisplay display(large, "bench");
    if (!display.is_available()) {
        state.SkipWithError("SDL video is not available");
        return;
    }
    double ours = seconds_of([&] {
        display.present(*screen, screen->bounds());
        display.flush();
    }, state);
    state.counters["ms"] = ours * 1000;
    state.counters["vs_frame"] = ours / frame_seconds;
}

}

BENCHMARK(FullScreenText)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(FullScreenBitmap)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PresentSdl)->UseManualTime()->Unit(benchmark::kMillisecond);
