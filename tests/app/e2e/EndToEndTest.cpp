// The real program on an X server of its own (Xvfb), driven with xdotool as
// a user would: SDL's disk driver writes what it plays into a file.
#include "audio/readers/FileReaderMP3.h"
#include "audio/readers/FileReaderWAVADPCM.h"
#include "audio/readers/FileReaderWAVGSM.h"
#include "audio/readers/FileReaderWAVPCM.h"
#include "audio/readers/MpegHeader.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/WindowManager.h"
#include "tests/app/AppScreen.h"
#include "tests/support/Child.h"
#include "tests/support/Screenshot.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

namespace {

using namespace std::chrono_literals;
using test::u16;

std::string tool_path(const std::string& name)
{
    std::string out = test::run_tool({ "sh", "-c", "command -v " + name }).out;
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out;
}

bool wait_for(const std::function<bool()>& condition, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

// The samples of a WAV file of sox's: what follows the "data" chunk's header.
std::string wav_data(const std::string& path)
{
    const std::string bytes = test::read_file(path);
    const auto at = bytes.find("data");
    return at == std::string::npos ? std::string() : bytes.substr(at + 8);
}

// Seconds of 8000 Hz audio a tool decodes from a file (16-bit mono out).
double decoded_seconds(const std::vector<std::string>& argv)
{
    const test::ToolResult result = test::run_tool(argv);
    EXPECT_EQ(result.exit_code, 0) << argv.front();
    return double(result.out.size()) / 2 / 8000;
}

// Seconds our readers play: the length the WAV readers give, the frames the MP3 reader hands out.
double our_seconds(const std::string& path, const std::u16string& codec)
{
    const std::u16string name = test::u16(path);
    if (codec == u"mp3") {
        audio::FileReaderMP3 reader(name);
        double seconds = 0;
        for (audio::MP3Data frame; !(frame = reader.get_data(1)).is_empty();) {
            audio::MpegHeader header;
            if (frame.size() >= 4 && audio::parse_mpeg_header(frame.bytes(), header))
                seconds += double(header.samples_per_frame) / header.sample_rate;
        }
        return seconds;
    }
    if (codec == u"ADPCM")
        return audio::FileReaderWAVADPCM(name).get_length();
    if (codec == u"GSM")
        return audio::FileReaderWAVGSM(name).get_length();
    return audio::FileReaderWAVPCM(name).get_length();
}

// Seconds of audio the bytes of a recording hold, whatever its header says:
// whole units after a WAV file's "data" header, or every byte of a constant
// bit rate MP3 file.
double seconds_on_disk(const std::string& bytes, const std::u16string& codec, int bitrate)
{
    if (codec == u"mp3")
        return double(bytes.size()) * 8 / bitrate;
    const auto data = bytes.find("data");
    if (data == std::string::npos || bytes.size() < 36)
        return 0;
    auto field = [&](std::size_t at, int size) {
        std::uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = value << 8 | std::uint8_t(bytes[at + std::size_t(i)]);
        return value;
    };
    const std::uint32_t bytes_per_second = field(28, 4), unit = field(32, 2);
    if (bytes_per_second == 0 || unit == 0 || bytes.size() < data + 8)
        return 0;
    const std::size_t audio = bytes.size() - data - 8;
    return double(audio - audio % unit) / bytes_per_second;
}

class EndToEnd : public test::AppScreen {
protected:
    static std::string missing_tool()
    {
        for (const char* tool : { "Xvfb", "xdotool", "import", "sox" }) {
            if (tool_path(tool).empty())
                return tool;
        }
        return {};
    }

    // Where the main form's control shows on the device screen, from a headless start.
    platform::Point screen_position_of(std::u16string_view id)
    {
        platform::Point point {};
        inside_loop([&](MainForm& form) {
            const skinner::Control* control = form.get_control(id);
            ASSERT_NE(control, nullptr);
            const skinner::Point centre { control->position().x + control->size().width / 2,
                control->position().y + control->size().height / 2 };
            point = platform::client_to_screen(form.window().handle(), { centre.x, centre.y });
        });
        Startup::run(u"");
        return point;
    }

    // Where the explorer's control lies on the device screen, from a headless start.
    platform::Rect explorer_rect(std::u16string_view id)
    {
        platform::Rect rect {};
        inside_loop([&](MainForm& form) {
            const skinner::Control* list = form.explorer().get_container()->get_control(id);
            ASSERT_NE(list, nullptr);
            const platform::Point at
                = platform::client_to_screen(form.window().handle(), { list->position().x, list->position().y });
            rect = { at.x, at.y, at.x + list->size().width, at.y + list->size().height };
        });
        Startup::run(u"");
        return rect;
    }

    std::string xdotool(const std::vector<std::string>& arguments)
    {
        std::vector<std::string> argv { "xdotool" };
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        std::string out = test::run_tool(argv).out;
        if (const auto end = out.find('\n'); end != std::string::npos)
            out.resize(end);
        return out;
    }

    // The program's mapped window, once it shows; empty when it never does.
    // The program's window once it is mapped; empty when it never is, with why in the test's output.
    std::string program_window(test::Child& program)
    {
        std::string found;
        std::optional<int> ended;
        wait_for(
            [&] {
                found = xdotool({ "search", "--onlyvisible", "--name", "^Orvanta$" });
                return !found.empty() || (ended = program.wait_for(0)).has_value();
            },
            90s);
        if (ended)
            ADD_FAILURE() << "the program ended with " << *ended << " before it showed a window";
        return found;
    }

    void click(const std::string& window, platform::Point at)
    {
        xdotool({ "mousemove", "--window", window, std::to_string(at.x), std::to_string(at.y), "click", "1" });
    }

    // What the program's window shows, as the device screen's bitmap.
    std::unique_ptr<platform::Bitmap> window_picture(const std::string& window)
    {
        const std::string rgb = test::run_tool({ "import", "-window", window, "-depth", "8", "rgb:-" }).out;
        if (rgb.size() != 240u * 320u * 3u)
            return nullptr;
        auto bitmap = platform::Bitmap::create(240, 320);
        auto pixels = bitmap->pixels();
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            pixels[i] = platform::Pixel(std::uint8_t(rgb[3 * i])) << 16 | platform::Pixel(std::uint8_t(rgb[3 * i + 1])) << 8
                | platform::Pixel(std::uint8_t(rgb[3 * i + 2]));
        }
        return bitmap;
    }

    std::string played() const { return test::read_file(output); }

    const std::string output = home.file("played.raw");
};

TEST_F(EndToEnd, PlaysTheFileOfItsCommandLineStopsAndPlaysItAgainFromTheButtons)
{
    if (const std::string tool = missing_tool(); !tool.empty())
        GTEST_SKIP() << tool << " is not installed";
    const platform::Point play = screen_position_of(u"btnPlay");
    const platform::Point stop = screen_position_of(u"btnStop");
    // The folder's path is a temporary one, the list's rows show the day's
    // dates: both are left out of the picture.
    const platform::Rect varying[] { explorer_rect(u"cmbFolder"), explorer_rect(u"lstFilelist") };
    const std::string wav = make_wav("tone.wav", 4.0);
    const std::string samples = wav_data(wav);
    ASSERT_EQ(samples.size(), 4u * 22050u * 2u);

    test::Child server({ tool_path("Xvfb"), "-displayfd", "1", "-screen", "0", "640x480x24", "-nolisten", "tcp" });
    const std::string display = server.read_line(20000);
    ASSERT_FALSE(display.empty()) << "Xvfb did not start";
    test::EnvironmentOverride on_display("DISPLAY", (":" + display).c_str());
    test::EnvironmentOverride disk_audio("SDL_AUDIODRIVER", "disk");
    test::EnvironmentOverride disk_file("SDL_DISKAUDIOFILE", output.c_str());
    test::EnvironmentOverride unzoomed("ORVANTA_ZOOM", "1");
    test::EnvironmentOverride device_screen("ORVANTA_SCREEN", nullptr);
    test::EnvironmentOverride own_registry("ORVANTA_REGISTRY_FILE", home.file("registry").c_str());
    // The desktop's libraries keep a few blocks until the end; errors still fail the run.
    test::EnvironmentOverride no_leak_report("ASAN_OPTIONS", "detect_leaks=0");
    test::Child program({ ORVANTA_PROGRAM, wav });
    ASSERT_TRUE(program.started());

    std::string window = program_window(program);
    ASSERT_FALSE(window.empty()) << "no window";
    ASSERT_TRUE(wait_for([&] { return played().size() > 22050; }, 20s)) << "the command line's file does not play";

    click(window, stop);
    std::size_t stopped_at = 0;
    ASSERT_TRUE(wait_for(
        [&] {
            const std::size_t before = played().size();
            std::this_thread::sleep_for(600ms);
            stopped_at = played().size();
            return stopped_at == before;
        },
        10s))
        << "Stop does not stop";
    EXPECT_LT(stopped_at, samples.size()) << "stopped before its end";

    // Play starts the selected file again on a newly opened device (a new output file).
    // A device that starts before the first buffer is ready plays silence first.
    click(window, play);
    EXPECT_TRUE(wait_for(
        [&] {
            const std::string now = played();
            const auto at = now.find(samples);
            return at != std::string::npos
                && std::all_of(now.begin(), now.begin() + std::ptrdiff_t(at), [](char c) { return c == 0; });
        },
        20s))
        << "the output does not hold the file";

    // Once the tick has seen the end, the form is back at rest.
    std::this_thread::sleep_for(1500ms);
    const auto picture = window_picture(window);
    ASSERT_NE(picture, nullptr);
    auto pixels = picture->pixels();
    for (const platform::Rect& rect : varying)
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                pixels[std::size_t(y) * 240 + std::size_t(x)] = 0xFFFFFF;
    EXPECT_TRUE(test::matches_screenshot(*picture, "e2e-main-at-rest"));

    program.kill(SIGTERM);
    EXPECT_EQ(program.wait(), 0) << "the program ends cleanly when the desktop closes it";
    server.kill(SIGTERM);
    server.wait();
}

// A recording whose process is killed keeps what it recorded: the file the
// kill leaves plays, in our readers, sox and ffmpeg, to within a second of
// the audio its bytes hold, in each recording format.
TEST_F(EndToEnd, ARecordingKilledWhileItRecordsPlaysInEveryFormat)
{
    if (const std::string tool = missing_tool(); !tool.empty())
        GTEST_SKIP() << tool << " is not installed";
    if (tool_path("ffmpeg").empty())
        GTEST_SKIP() << "ffmpeg is not installed";
    const platform::Point record = screen_position_of(u"btnRecord");
    const std::string input = home.file("in.raw");
    ASSERT_EQ(test::run_tool({ "sox", "-n", "-r", "8000", "-b", "16", "-c", "1", "-e", "signed", "-t", "raw",
                                 input, "synth", "30", "sine", "440", "vol", "0.4" })
                  .exit_code,
        0);

    test::Child server({ tool_path("Xvfb"), "-displayfd", "1", "-screen", "0", "640x480x24", "-nolisten", "tcp" });
    const std::string display = server.read_line(20000);
    ASSERT_FALSE(display.empty()) << "Xvfb did not start";
    test::EnvironmentOverride on_display("DISPLAY", (":" + display).c_str());
    test::EnvironmentOverride disk_audio("SDL_AUDIODRIVER", "disk");
    test::EnvironmentOverride disk_file("SDL_DISKAUDIOFILE", output.c_str());
    test::EnvironmentOverride disk_input("SDL_DISKAUDIOFILEIN", input.c_str());
    // Real time, as a microphone fills the buffers.
    test::EnvironmentOverride real_time("SDL_DISKAUDIODELAY", nullptr);
    test::EnvironmentOverride unzoomed("ORVANTA_ZOOM", "1");
    test::EnvironmentOverride device_screen("ORVANTA_SCREEN", nullptr);
    test::EnvironmentOverride own_registry("ORVANTA_REGISTRY_FILE", home.file("registry").c_str());
    test::EnvironmentOverride no_leak_report("ASAN_OPTIONS", "detect_leaks=0");

    const int bitrate = 16000;
    for (const std::u16string codec : { u"PCM", u"ADPCM", u"GSM", u"mp3" }) {
        const std::string name = platform::to_utf8(codec);
        SCOPED_TRACE(name);
        const std::string folder = home.file("recorded-" + name);
        std::filesystem::create_directories(folder);
        write_settings([&](Settings& s) {
            s.codec = codec;
            s.channels = 1;
            s.bits = 16;
            s.samples = 8000;
            s.bitrate = bitrate;
            s.default_folder = true;
            s.folder = test::u16(folder);
            s.vas_on = false;
        });
        test::Child program({ ORVANTA_PROGRAM });
        ASSERT_TRUE(program.started());
        std::string window = program_window(program);
        ASSERT_FALSE(window.empty()) << "no window";

        // Record makes the file at once; a click before the window takes
        // input goes nowhere, and is repeated.
        std::string file;
        auto made = [&] {
            for (const auto& entry : std::filesystem::directory_iterator(folder))
                file = entry.path().string();
            return !file.empty();
        };
        // A late click must not be followed by one that would stop what it started.
        for (int attempt = 0; attempt < 4 && !made(); ++attempt) {
            click(window, record);
            wait_for(made, 30s);
        }
        ASSERT_FALSE(file.empty()) << "Record does not start a recording";
        // A few seconds of audio in the file, however fast the machine is.
        ASSERT_TRUE(wait_for([&] { return seconds_on_disk(test::read_file(file), codec, bitrate) >= 3.0; }, 90s))
            << "the recording does not reach the disk";
        program.kill(SIGKILL);
        program.wait();

        const double on_disk = seconds_on_disk(test::read_file(file), codec, bitrate);
        const double played[] = {
            our_seconds(file, codec),
            decoded_seconds({ "sox", file, "-t", "raw", "-e", "signed", "-b", "16", "-" }),
            decoded_seconds({ "ffmpeg", "-loglevel", "error", "-i", file, "-f", "s16le", "-" }),
        };
        for (const double seconds : played)
            EXPECT_NEAR(seconds, on_disk, 1.0) << "of " << on_disk << " s on disk";
    }
    server.kill(SIGTERM);
    server.wait();
}

// The desktop's session as the tests below set it up: an X server, the
// program's window and what it shows.
class EndToEndDesktop : public EndToEnd {
protected:
    void SetUp() override
    {
        if (const std::string tool = missing_tool(); !tool.empty())
            GTEST_SKIP() << tool << " is not installed";
        server = std::make_unique<test::Child>(
            std::vector<std::string> { tool_path("Xvfb"), "-displayfd", "1", "-screen", "0", "640x480x24", "-nolisten", "tcp" });
        const std::string display = server->read_line(20000);
        ASSERT_FALSE(display.empty()) << "Xvfb did not start";
        environment.push_back(std::make_unique<test::EnvironmentOverride>("DISPLAY", (":" + display).c_str()));
        environment.push_back(std::make_unique<test::EnvironmentOverride>("SDL_AUDIODRIVER", "disk"));
        environment.push_back(std::make_unique<test::EnvironmentOverride>("SDL_DISKAUDIOFILE", output.c_str()));
        environment.push_back(std::make_unique<test::EnvironmentOverride>("ORVANTA_ZOOM", "1"));
        environment.push_back(std::make_unique<test::EnvironmentOverride>("ORVANTA_SCREEN", nullptr));
        environment.push_back(
            std::make_unique<test::EnvironmentOverride>("ORVANTA_REGISTRY_FILE", home.file("registry").c_str()));
        environment.push_back(std::make_unique<test::EnvironmentOverride>("ASAN_OPTIONS", "detect_leaks=0"));
    }

    void TearDown() override
    {
        if (program)
            program->kill(SIGKILL);
        program.reset();
        environment.clear();
        if (server) {
            server->kill(SIGTERM);
            server->wait();
        }
    }

    // Starts the program and waits for its window and a picture that holds still.
    void start(const std::vector<std::string>& arguments = {})
    {
        std::vector<std::string> argv { ORVANTA_PROGRAM };
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        program = std::make_unique<test::Child>(argv);
        ASSERT_TRUE(program->started());
        window = program_window(*program);
        ASSERT_FALSE(window.empty()) << "no window";
        ASSERT_NE(settled_picture(), nullptr) << "the window never holds still";
    }

    // The window's picture once it holds still, waiting as long as a loaded machine may need; else null.
    std::unique_ptr<platform::Bitmap> settled_picture()
    {
        std::unique_ptr<platform::Bitmap> picture;
        wait_for([&] { return (picture = still_picture()) != nullptr; }, 30s);
        return picture;
    }

    // The window's picture once two in a row agree, else null.
    std::unique_ptr<platform::Bitmap> still_picture()
    {
        auto first = window_picture(window);
        std::this_thread::sleep_for(300ms);
        auto second = window_picture(window);
        if (!first || !second || !std::equal(first->pixels().begin(), first->pixels().end(), second->pixels().begin()))
            return nullptr;
        return second;
    }

    // Whether the window's picture differs from the one given inside the rectangle.
    bool changed_from(const platform::Bitmap& before, const platform::Rect& area)
    {
        const auto now = window_picture(window);
        return now && !same_pixels(*now, area, before, area);
    }

    static bool same_pixels(
        const platform::Bitmap& one, const platform::Rect& here, const platform::Bitmap& other, const platform::Rect& there)
    {
        for (int y = 0; y < here.height(); ++y)
            for (int x = 0; x < here.width(); ++x)
                if (one.pixels()[std::size_t(here.top + y) * 240 + std::size_t(here.left + x)]
                    != other.pixels()[std::size_t(there.top + y) * 240 + std::size_t(there.left + x)])
                    return false;
        return true;
    }

    std::unique_ptr<test::Child> server;
    std::vector<std::unique_ptr<test::EnvironmentOverride>> environment;
    std::unique_ptr<test::Child> program;
    std::string window;
};

TEST_F(EndToEndDesktop, ATerminationSignalWithADialogOpenEndsTheProgramCleanly)
{
    start();
    const auto at_rest = settled_picture();
    ASSERT_NE(at_rest, nullptr);
    // A second launch with a file that is not there: the running copy shows its error form.
    test::Child second({ ORVANTA_PROGRAM, home.file("missing.wav") });
    ASSERT_TRUE(wait_for([&] { return changed_from(*at_rest, { 0, 0, 240, 320 }); }, 30s)) << "no error form";
    std::remove((test::app_folder() + "/Orvanta.xml").c_str());

    program->kill(SIGTERM);
    const std::optional<int> ended = program->wait_for(30000);
    ASSERT_TRUE(ended.has_value()) << "the program runs on with its dialog closed";
    EXPECT_EQ(*ended, 0);
    program.reset();
    EXPECT_TRUE(std::filesystem::exists(test::app_folder() + "/Orvanta.xml")) << "the settings were saved on the way out";
}

TEST_F(EndToEndDesktop, TheWheelScrollsTheFileList)
{
    const std::string folder = home.file("many");
    std::filesystem::create_directories(folder);
    for (int i = 0; i < 30; ++i)
        std::ofstream(folder + "/file" + std::to_string(10 + i) + ".wav") << std::string(100, 'x');
    write_settings([&](Settings& s) { s.explorer_folder = u16(folder); });
    const platform::Rect list = explorer_rect(u"lstFilelist");
    // The first and the fourth row, the scroll bar left out.
    platform::Rect row[2] {};
    inside_loop([&](MainForm& form) {
        for (int i = 0; i < 2; ++i) {
            skinner::Size size;
            const skinner::Point corner = form.explorer().file_list().get_cell_rect(0, 3 * i, size);
            const platform::Point at = platform::client_to_screen(form.window().handle(), { corner.x, corner.y });
            row[i] = { list.left, at.y, list.right - 20, at.y + size.height };
        }
    });
    Startup::run(u"");
    ASSERT_FALSE(row[0].empty());
    start();
    const auto before = settled_picture();
    ASSERT_NE(before, nullptr);
    // The pointer below the rows looked at: the row under it is highlighted.
    xdotool({ "mousemove", "--window", window, std::to_string(list.left + list.width() / 3),
        std::to_string(list.bottom - 10), "click", "5" });
    std::unique_ptr<platform::Bitmap> now;
    EXPECT_TRUE(wait_for(
        [&] {
            now = window_picture(window);
            return now && same_pixels(*now, row[0], *before, row[1]);
        },
        20s))
        << "a notch down does not bring the fourth row to the top";
    xdotool({ "click", "4" });
    EXPECT_TRUE(wait_for(
        [&] {
            now = window_picture(window);
            return now && same_pixels(*now, row[0], *before, row[0]);
        },
        20s))
        << "a notch up does not bring the first row back";
}

}
