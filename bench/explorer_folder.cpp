// Showing a folder of 10,000 sound files in the explorer (listing, one status
// per file, the rows' texts, the sort) against `ls -l` of the same folder, a
// whole process that lists, stats and sorts by name too; and the explorer's
// sort by name against its sort by date of the same rows.
#include "app/MainForm.h"
#include "app/Startup.h"
#include "app/explorer/PanelFileExplorer.h"
#include "bench/support/Compare.h"
#include "bench/support/Spread.h"
#include "platform/core/Service.h"
#include "platform/core/Utf8.h"
#include "platform/media/WaveDriver.h"
#include "platform/ui/headless/HeadlessDisplay.h"
#include "platform/media/headless/ScriptedWaveDriver.h"
#include "platform/ui/Display.h"
#include "platform/ui/Screen.h"
#include "skinner/core/Form.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int files = 10000;

// The program's data and the folder of files, removed at exit.
struct Folders {
    Folders()
    {
        std::string name = (fs::temp_directory_path() / "orvanta-bench-folder-XXXXXX").string();
        if (!mkdtemp(name.data()))
            return;
        root = name;
        std::error_code error;
        fs::create_directories(root / "program");
        fs::copy(fs::path(ORVANTA_PROGRAM_DIR) / "skins", root / "program" / "skins", fs::copy_options::recursive,
            error);
        fs::copy_file(fs::path(ORVANTA_PROGRAM_DIR) / "English.lng", root / "program" / "English.lng", error);
        fs::create_directories(root / "run");
        fs::permissions(root / "run", fs::perms::owner_all, error);
        fs::create_directories(root / "music");
        // Names in no order the disk keeps, mixed case, of the types the explorer shows.
        const char* extensions[] = { ".mp3", ".wav", ".ogg", ".WMA" };
        for (int i = 0; i < files; ++i) {
            const unsigned n = unsigned(i) * 7919u % 100003u;
            std::ofstream(root / "music" / ((i % 3 ? "Track " : "track ") + std::to_string(n) + extensions[i % 4]))
                << std::string(std::size_t(n % 512), 'x');
        }
    }
    ~Folders()
    {
        std::error_code error;
        if (!root.empty())
            fs::remove_all(root, error);
    }
    fs::path root;
};

// The headless screen; the first frame runs the measurement and closes the main form.
class MeasuringDisplay final : public platform::Display, public platform::WaitHook {
public:
    explicit MeasuringDisplay(std::function<void(MainForm&)> measure)
        : m_screen(platform::ScreenMode {})
        , m_measure(std::move(measure))
    {
        platform::set_wait_hook(this);
    }
    ~MeasuringDisplay() override { platform::set_wait_hook(nullptr); }

    platform::ScreenMode mode() const override { return m_screen.mode(); }
    void present(const platform::Bitmap& screen, const platform::Rect& changed) override
    {
        m_screen.present(screen, changed);
        if (m_done)
            return;
        m_done = true;
        for (skinner::Form* form : skinner::Form::forms()) {
            if (auto* main = dynamic_cast<MainForm*>(form)) {
                m_measure(*main);
                main->close();
            }
        }
    }
    void wait(std::optional<std::uint32_t> timeout_ms) override
    {
        platform::present_screen();
        if (!m_done)
            m_screen.wait(timeout_ms);
    }
    void wake() override { }

private:
    platform::headless::HeadlessDisplay m_screen;
    std::function<void(MainForm&)> m_measure;
    bool m_done = false;
};

double seconds_of(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void ShowFolderOf10000Files(benchmark::State& state)
{
    static Folders folders;
    if (folders.root.empty()) {
        state.SkipWithError("cannot make the folder");
        return;
    }
    const std::string root = folders.root.string();
    setenv("ORVANTA_APP_PATH", (root + "/program").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (root + "/run").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
    setenv("HOME", root.c_str(), 1);
    setenv("ORVANTA_REGISTRY_FILE", (root + "/registry").c_str(), 1);
    platform::ScopedService<platform::WaveDriver, platform::headless::ScriptedWaveDriver> driver {
        platform::wave_driver_slot()
    };
    const std::u16string music = platform::from_utf8(root + "/music");
    const std::string ls = "ls -l '" + root + "/music' >/dev/null";
    std::vector<double> name_sorts, date_sorts;
    std::size_t rows = 0;
    bool measured = false;
    auto measure = [&](MainForm& main) {
        measured = true;
        PanelFileExplorer& explorer = main.explorer();
        explorer.set_sort_mode(1);
        bench::compare(state, 0, [&] { explorer.change_folder(music, false); },
            { { "ls", [&] { std::system(ls.c_str()); } } }, 7);
        rows = explorer.file_list().items().size();
        for (int round = 0; round < 7; ++round) {
            date_sorts.push_back(seconds_of([&] { explorer.file_list().set_sort_mode(2); }));
            name_sorts.push_back(seconds_of([&] { explorer.file_list().set_sort_mode(1); }));
        }
    };
    {
        platform::ScopedService<platform::Display, MeasuringDisplay> screen { platform::display_slot(), measure };
        Startup::run(u"");
    }
    if (!measured) {
        state.SkipWithError("the program did not start");
        return;
    }
    state.counters["rows"] = double(rows);
    const bench::Spread name = bench::spread_of(name_sorts);
    state.counters["name_sort_ms"] = 1000 * name.median;
    state.counters["date_sort_ms"] = 1000 * bench::spread_of(date_sorts).median;
    state.counters["name/date_sort"] = bench::ratio_spread(name_sorts, date_sorts).median;
}
BENCHMARK(ShowFolderOf10000Files)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}
