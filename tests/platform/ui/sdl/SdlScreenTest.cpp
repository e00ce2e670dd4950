#include "platform/ui/sdl/SdlClipboard.h"
#include "platform/ui/sdl/SdlDisplay.h"

#include "platform/core/MessageQueue.h"
#include "platform/core/Window.h"
#include "platform/ui/Input.h"
#include "platform/ui/Paint.h"
#include "platform/ui/Picture.h"
#include "platform/ui/Screen.h"
#include "platform/ui/WindowManager.h"
#include "tests/support/Child.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <future>
#include <unistd.h>

using namespace platform;

namespace {

constexpr ColorRef red = rgb(255, 0, 0);
constexpr ColorRef white = rgb(255, 255, 255);

// Serves the messages until `done`, or until the window's give-up timer (id 1) fires.
bool pump_until(const std::function<bool()>& done)
{
    Message m;
    while (!done() && get_message(m)) {
        if (m.message == msg::timer && m.wparam == 1)
            return false;
        dispatch_message(m);
    }
    return done();
}

// The X window of this title as a tool sees it, looked for on a thread of its own.
std::future<std::string> find_x_window(std::string title)
{
    return std::async(std::launch::async, [title] {
        for (int i = 0; i < 200; ++i) {
            auto r = test::run_tool({ "xdotool", "search", "--name", title });
            if (r.exit_code == 0 && !r.out.empty())
                return r.out.substr(0, r.out.find('\n'));
            usleep(100000);
        }
        return std::string();
    });
}

// Runs this test again on an X server of its own. Xvfb picks a free display
// itself (-displayfd): xvfb-run -a races with servers started beside it.
bool rerun_under_xvfb()
{
    if (std::getenv("ORVANTA_INSIDE_XVFB"))
        return false;
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return false;
    self[n] = 0;
    std::string filter = std::string("--gtest_filter=") + ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name()
        + "." + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    test::Child server({ "/bin/sh", "-c", "exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp" });
    const std::string display = server.read_line(20000);
    EXPECT_FALSE(display.empty()) << "Xvfb did not start";
    if (display.empty())
        return true;
    // The X libraries and the desktop bus keep memory to the end: leaks are
    // looked for by the headless suites.
    auto result = test::run_tool({ "env", "ORVANTA_INSIDE_XVFB=1", "ASAN_OPTIONS=detect_leaks=0", "DISPLAY=:" + display, self, filter });
    EXPECT_EQ(result.exit_code, 0) << result.out;
    server.kill(SIGTERM);
    server.wait();
    return true;
}

TEST(SdlScreen, ClickReachesTheWindowAndTheScreenShowsItsDrawing)
{
    if (!test::have_tool("Xvfb") || !test::have_tool("xdotool") || !test::have_tool("import"))
        GTEST_SKIP() << "xvfb, xdotool or ImageMagick missing";
    if (rerun_under_xvfb())
        return;

    setenv("ORVANTA_ZOOM", "2", 1);
    auto display = std::make_unique<sdl::SdlDisplay>(ScreenMode { { 240, 320 }, 96 }, "Orvanta SDL test");
    ASSERT_TRUE(display->is_available());
    EXPECT_EQ(display->zoom(), 2);
    display_slot().install(std::move(display));

    register_window_class({ u"SdlTestWindow", {}, false, 0 });
    WindowParams params;
    params.class_name = u"SdlTestWindow";
    params.style = ws::visible;
    Window window = create_window(params);
    ASSERT_EQ(window_rect(window), (Rect { 0, 26, 240, 294 }));
    std::optional<Point> pressed;
    set_window_procedure(window, [&](Window w, MessageId id, WParam wp, LParam lp) -> LResult {
        if (id == msg::left_button_down)
            pressed = point_of(lp);
        if (id == msg::paint) {
            PaintScope paint(w);
            paint.dc().fill_rect(client_rect(w), white);
            paint.dc().fill_rect({ 10, 10, 60, 60 }, red);
            return 0;
        }
        return default_window_procedure(w, id, wp, lp);
    });
    invalidate_rect(window);
    set_timer(window, 1, 30000); // the test gives up after this
    set_timer(window, 2, 20); // looks at the helpers' progress

    // Let the window show and find it as a tool sees it.
    auto found = find_x_window("Orvanta SDL test");
    ASSERT_TRUE(pump_until([&] { return found.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready; }));
    std::string xid = found.get();
    ASSERT_FALSE(xid.empty());

    // Client (20, 30) lies at screen (20, 56): (40, 112) in the zoomed window.
    auto click = std::async(std::launch::async, [&] {
        return test::run_tool({ "xdotool", "mousemove", "--window", xid, "41", "113", "click", "1" }).exit_code;
    });
    ASSERT_TRUE(pump_until([&] { return pressed.has_value(); }));
    EXPECT_EQ(click.get(), 0);
    EXPECT_EQ(*pressed, (Point { 20, 30 }));

    // Present, then look at the window as the X server shows it.
    Message m;
    while (peek_message(m))
        dispatch_message(m);
    present_screen();
    test::TempDir dir;
    std::string shot = dir.file("shot.bmp");
    auto grabbed = std::async(std::launch::async, [&] { return test::run_tool({ "import", "-window", xid, "BMP3:" + shot }).exit_code; });
    pump_until([&] { return grabbed.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready; });
    ASSERT_EQ(grabbed.get(), 0);
    std::string bytes = test::read_file(shot);
    auto picture = decode_picture({ reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size() });
    ASSERT_TRUE(picture.picture);
    const Bitmap& b = *picture.picture->bitmap;
    ASSERT_EQ(b.size(), (Size { 480, 640 }));
    EXPECT_EQ(b.at(2 * 30, 2 * (26 + 30)), pixel_of(red));
    EXPECT_EQ(b.at(2 * 100, 2 * (26 + 100)), pixel_of(white));
    EXPECT_NE(b.at(2 * 100, 2 * 5), pixel_of(white)); // the title bar
    // Each pixel becomes two by two, no more and no less: the red square's edges.
    EXPECT_EQ(b.at(2 * 10, 2 * (26 + 10)), pixel_of(red));
    EXPECT_EQ(b.at(2 * 10 - 1, 2 * (26 + 10)), pixel_of(white));
    EXPECT_EQ(b.at(2 * 60 - 1, 2 * (26 + 60) - 1), pixel_of(red));
    EXPECT_EQ(b.at(2 * 60, 2 * (26 + 60) - 1), pixel_of(white));
    EXPECT_EQ(b.at(2 * 60 - 1, 2 * (26 + 60)), pixel_of(white));

    // The window's own surface shows it: no OpenGL, software or not, was loaded for it.
    const std::string maps = test::read_file("/proc/self/maps");
    ASSERT_FALSE(maps.empty());
    for (const char* library : { "libGL", "libEGL", "libGLX", "swrast", "libLLVM" })
        EXPECT_EQ(maps.find(library), std::string::npos) << library;

    kill_timer(window, 1);
    kill_timer(window, 2);
    destroy_window(window);
    display_slot().install(nullptr);
    SDL_Quit(); // also lets go of the desktop bus
}

TEST(SdlScreen, TheClipboardCarriesTextThroughTheDesktop)
{
    if (!test::have_tool("Xvfb"))
        GTEST_SKIP() << "Xvfb missing";
    if (rerun_under_xvfb())
        return;
    auto display = std::make_unique<sdl::SdlDisplay>(ScreenMode { { 240, 320 }, 96 }, "Orvanta SDL clipboard test");
    ASSERT_TRUE(display->is_available());
    display_slot().install(std::move(display));
    sdl::SdlClipboard clipboard;
    EXPECT_FALSE(clipboard.set_text(u"closed")) << "only while open";
    ASSERT_TRUE(clipboard.open());
    EXPECT_FALSE(clipboard.open()) << "one holder at a time";
    const std::u16string text = u"caf\u00e9 \U0001F3B5 line\nnext";
    ASSERT_TRUE(clipboard.set_text(text));
    EXPECT_EQ(clipboard.text(), text);
    char* seen = SDL_GetClipboardText();
    EXPECT_EQ(std::string(seen), "caf\u00e9 \U0001F3B5 line\nnext") << "UTF-8 on the desktop's side";
    SDL_free(seen);
    EXPECT_TRUE(clipboard.empty());
    EXPECT_EQ(clipboard.text(), std::nullopt);
    clipboard.close();
    display_slot().install(nullptr);
    SDL_Quit();
}

TEST(SdlScreen, TheWheelReachesTheWindowUnderThePointerAndQuitClosesTheMainWindow)
{
    if (!test::have_tool("Xvfb") || !test::have_tool("xdotool"))
        GTEST_SKIP() << "xvfb or xdotool missing";
    if (rerun_under_xvfb())
        return;

    setenv("ORVANTA_ZOOM", "2", 1);
    display_slot().install(std::make_unique<sdl::SdlDisplay>(ScreenMode { { 240, 320 }, 96 }, "Orvanta SDL wheel test"));
    register_window_class({ u"SdlWheelWindow", {}, false, 0 });
    WindowParams params;
    params.class_name = u"SdlWheelWindow";
    params.style = ws::visible;
    Window main = create_window(params);
    std::vector<std::string> heard;
    set_window_procedure(main, [&](Window w, MessageId id, WParam wp, LParam lp) -> LResult {
        if (id == msg::mouse_wheel) {
            const Point at = point_of(lp);
            heard.push_back("wheel " + std::to_string(wheel_turn_of(wp)) + " at " + std::to_string(at.x) + ","
                + std::to_string(at.y));
        }
        if (id == msg::close) {
            heard.push_back("close main");
            return 0;
        }
        return default_window_procedure(w, id, wp, lp);
    });
    // A dialog owned by the main window, in front.
    params.style = ws::popup | ws::visible;
    params.parent = main;
    params.x = 150;
    params.y = 200;
    params.width = 80;
    params.height = 60;
    Window dialog = create_window(params);
    set_window_procedure(dialog, [&](Window w, MessageId id, WParam wp, LParam lp) -> LResult {
        if (id == msg::close) {
            heard.push_back("close dialog");
            return 0;
        }
        return default_window_procedure(w, id, wp, lp);
    });
    set_foreground_window(dialog);
    set_timer(main, 1, 30000); // the test gives up after this
    set_timer(main, 2, 20);
    auto found = find_x_window("Orvanta SDL wheel test");
    ASSERT_TRUE(pump_until([&] { return found.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready; }));
    const std::string xid = found.get();
    ASSERT_FALSE(xid.empty());

    // The pointer at screen (20, 56), over the main window; a notch towards the user.
    auto turned = std::async(std::launch::async, [&] {
        return test::run_tool({ "xdotool", "mousemove", "--window", xid, "41", "113", "click", "5" }).exit_code;
    });
    ASSERT_TRUE(pump_until([&] { return !heard.empty(); }));
    EXPECT_EQ(turned.get(), 0);
    EXPECT_EQ(heard, (std::vector<std::string> { "wheel -120 at 20,56" }));

    // The desktop's close goes to the main window, not to the dialog in front.
    heard.clear();
    SDL_Event quit {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    ASSERT_TRUE(pump_until([&] { return !heard.empty(); }));
    EXPECT_EQ(heard, (std::vector<std::string> { "close main" }));

    kill_timer(main, 1);
    kill_timer(main, 2);
    destroy_window(dialog);
    destroy_window(main);
    display_slot().install(nullptr);
    SDL_Quit();
}

TEST(SdlScreen, ThePointerTakesTheShapeSetForIt)
{
    if (!test::have_tool("Xvfb"))
        GTEST_SKIP() << "Xvfb missing";
    if (rerun_under_xvfb())
        return;
    auto display = std::make_unique<sdl::SdlDisplay>(ScreenMode { { 240, 320 }, 96 }, "Orvanta SDL cursor test");
    ASSERT_TRUE(display->is_available());
    display_slot().install(std::move(display));
    SDL_Cursor* const arrow = SDL_GetCursor();
    EXPECT_EQ(set_cursor(CursorShape::wait), CursorShape::arrow);
    SDL_Cursor* const wait = SDL_GetCursor();
    EXPECT_NE(wait, arrow);
    EXPECT_EQ(set_cursor(CursorShape::hand), CursorShape::wait);
    EXPECT_NE(SDL_GetCursor(), wait);
    set_cursor(CursorShape::wait);
    EXPECT_EQ(SDL_GetCursor(), wait) << "each shape made once";
    // Every shape a skin can name.
    for (std::uint32_t id : { 32512u, 32513u, 32514u, 32642u, 32643u, 32644u, 32645u, 32646u, 32648u, 32649u,
             32650u, 32651u })
        set_cursor(cursor_shape(id));
    EXPECT_EQ(current_cursor(), CursorShape::help);
    display_slot().install(nullptr);
    SDL_Quit();
}

}
