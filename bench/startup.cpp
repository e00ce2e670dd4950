// The program's start-up and its memory while it plays.
//  - StartupToFirstFrame: the start-up routine in this process (document,
//    skins, language, main form) until the screen presents its first frame,
//    against the whole run of `ffplay -nodisp -autoexit` on a 50 ms file.
//  - ResidentWhilePlaying: the resident memory of the program (a process of
//    its own, SDL's dummy video and disk audio) two seconds into a file,
//    against ffplay playing the same file the same way.
#include "app/MainForm.h"
#include "app/Startup.h"
#include "bench/support/Compare.h"
#include "bench/support/Reference.h"
#include "bench/support/Spawn.h"
#include "platform/core/Service.h"
#include "platform/media/WaveDriver.h"
#include "platform/ui/headless/HeadlessDisplay.h"
#include "platform/media/headless/ScriptedWaveDriver.h"
#include "platform/ui/Display.h"
#include "platform/ui/Screen.h"
#include "skinner/core/Form.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>


namespace {

namespace fs = std::filesystem;

// A folder for the program's settings, skins and runtime files, removed at exit.
struct ProgramFolder {
    ProgramFolder()
    {
        char name[] = "/tmp/orvanta-bench-XXXXXX";
        if (!mkdtemp(name))
            return;
        path = name;
        std::error_code error;
        fs::copy(fs::path(ORVANTA_PROGRAM_DIR) / "skins", path / "skins", fs::copy_options::recursive, error);
        fs::copy_file(fs::path(ORVANTA_PROGRAM_DIR) / "English.lng", path / "English.lng", error);
        fs::create_directory(path / "run", error);
        fs::permissions(path / "run", fs::perms::owner_all, error);
    }
    ~ProgramFolder()
    {
        std::error_code error;
        if (!path.empty())
            fs::remove_all(path, error);
    }

    // The environment of a program run in it.
    std::vector<std::string> environment() const
    {
        return { "ORVANTA_APP_PATH=" + path.string(), "XDG_RUNTIME_DIR=" + (path / "run").string(),
            "XDG_CONFIG_HOME=" + (path / "config").string(), "XDG_DATA_HOME=" + (path / "data").string(),
            "HOME=" + path.string(), "ORVANTA_REGISTRY_FILE=" + (path / "registry").string(),
            "SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=/dev/null" };
    }

    fs::path path;
};

ProgramFolder& program_folder()
{
    static ProgramFolder folder;
    return folder;
}

void run_to_end(const std::vector<std::string>& argv, const std::vector<std::string>& variables)
{
    if (pid_t pid = bench::spawn_quiet(argv, variables)) {
        int status = 0;
        waitpid(pid, &status, 0);
    }
}

// Kilobytes resident, from /proc; 0 when it cannot be read.
double resident_kb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atof(line.c_str() + 6);
    }
    return 0;
}

double resident_two_seconds_in(const std::vector<std::string>& argv, const std::vector<std::string>& variables)
{
    pid_t pid = bench::spawn_quiet(argv, variables);
    if (!pid)
        return 0;
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const double kb = resident_kb(pid);
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    return kb;
}

// The headless screen; the first frame it presents closes the main form.
class FirstFrameDisplay final : public platform::Display, public platform::WaitHook {
public:
    FirstFrameDisplay()
        : m_screen(platform::ScreenMode {})
    {
        platform::set_wait_hook(this);
    }
    ~FirstFrameDisplay() override { platform::set_wait_hook(nullptr); }

    platform::ScreenMode mode() const override { return m_screen.mode(); }
    void present(const platform::Bitmap& screen, const platform::Rect& changed) override
    {
        m_screen.present(screen, changed);
        if (m_presented)
            return;
        m_presented = true;
        for (skinner::Form* form : skinner::Form::forms()) {
            if (auto* main = dynamic_cast<MainForm*>(form))
                main->close();
        }
    }
    // Once the first frame is out, the loop goes straight on to the close.
    void wait(std::optional<std::uint32_t> timeout_ms) override
    {
        platform::present_screen();
        if (!m_presented)
            m_screen.wait(timeout_ms);
    }
    void wake() override { }

private:
    platform::headless::HeadlessDisplay m_screen;
    bool m_presented = false;
};

void start_to_first_frame()
{
    platform::ScopedService<platform::Display, FirstFrameDisplay> screen { platform::display_slot() };
    Startup::run(u"");
}

void StartupToFirstFrame(benchmark::State& state)
{
    ProgramFolder& folder = program_folder();
    for (const std::string& variable : folder.environment()) {
        const auto equals = variable.find('=');
        setenv(variable.substr(0, equals).c_str(), variable.substr(equals + 1).c_str(), 1);
    }
    platform::ScopedService<platform::WaveDriver, platform::headless::ScriptedWaveDriver> driver {
        platform::wave_driver_slot()
    };
    const std::string tiny = bench::generated_input(
        "tiny.wav", { "sox", "-n", "-r", "22050", "-b", "16", "-c", "1", "%o", "synth", "0.05", "sine", "440" });
    // The first start in a process loads fonts and pictures that later ones find cached.
    const auto cold_begin = std::chrono::steady_clock::now();
    start_to_first_frame();
    state.counters["cold_ms"]
        = 1000 * std::chrono::duration<double>(std::chrono::steady_clock::now() - cold_begin).count();
    bench::compare(state, 0, start_to_first_frame,
        { { "ffplay", [&] {
               run_to_end({ "ffplay", "-nodisp", "-autoexit", "-loglevel", "quiet", tiny }, folder.environment());
           } } },
        5);
}
BENCHMARK(StartupToFirstFrame)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void ResidentWhilePlaying(benchmark::State& state)
{
    const std::string wav = bench::generated_input(
        "ten_seconds.wav", { "sox", "-n", "-r", "44100", "-b", "16", "-c", "2", "%o", "synth", "10", "sine", "440" });
    const std::vector<std::string> environment = program_folder().environment();
    double ours = 0, theirs = 0;
    for (auto _ : state) {
        ours = resident_two_seconds_in({ ORVANTA_PROGRAM, wav }, environment);
        theirs = resident_two_seconds_in(
            { "ffplay", "-nodisp", "-autoexit", "-loglevel", "quiet", wav }, environment);
        state.SetIterationTime(4);
    }
    state.counters["ours_MiB"] = ours / 1024;
    state.counters["ffplay_MiB"] = theirs / 1024;
    if (theirs > 0)
        state.counters["ours/ffplay"] = ours / theirs;
}
BENCHMARK(ResidentWhilePlaying)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}
