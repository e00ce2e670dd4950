// One scroll step of a string list of 10,000 rows: the list moves by a row and
// the form repaints it. The reference is a plain control that fills the same
// visible rows with the canvas, repainted the same way.
#include "bench/support/Reference.h"
#include "os/Application.h"
#include "platform/core/Service.h"
#include "platform/core/Utf8.h"
#include "platform/core/headless/FakeClock.h"
#include "platform/ui/headless/HeadlessDisplay.h"
#include "skinner/widgets/lists/ControlListStringSelectionStrategySingleRow.h"
#include "skinner/core/Form.h"
#include "skinner/graphics/Canvas.h"
#include "skinner/skin/Properties.h"
#include "tools/skinc/SkinLayout.h"
#include "tools/skinc/SkinSource.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>

namespace {

constexpr std::int32_t rows = 10000;

std::string read(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), {} };
}

// The lists test skin, compiled, with its pictures beside it.
std::string lists_skin()
{
    static const std::string path = [] {
        const std::filesystem::path source = ORVANTA_FIXTURES "/skin";
        const std::filesystem::path folder = std::filesystem::temp_directory_path() / "orvanta-bench-lists";
        std::filesystem::create_directories(folder);
        for (const char* file : { "selection.png", "highlight.png" })
            std::filesystem::copy_file(
                source / file, folder / file, std::filesystem::copy_options::overwrite_existing);
        const skinc::ParseResult parsed = skinc::parse_skin(read(source / "lists.skin.xml"));
        const skinc::LayoutResult laid_out = skinc::lay_out(parsed.skin);
        if (!parsed.error.empty() || !laid_out.error.empty())
            return std::string();
        std::ofstream(folder / "lists.skin", std::ios::binary)
            .write(reinterpret_cast<const char*>(laid_out.bytes.data()),
                static_cast<std::streamsize>(laid_out.bytes.size()));
        return (folder / "lists.skin").string();
    }();
    return path;
}

// Fills one rectangle per visible row, as a list without text would.
class RowFill : public skinner::Control {
public:
    RowFill(skinner::Container& container, std::int32_t row_height)
        : Control(container, u"", skinner::ControlMode::unskinned)
        , m_row_height(row_height)
    {
    }

    void paint(skinner::Canvas& canvas, skinner::Point, skinner::Size) override
    {
        ++m_first;
        for (std::int32_t y = 0; y < size().height; y += m_row_height)
            canvas.fill_rect({ position().x, position().y + y }, { size().width, m_row_height },
                { std::uint8_t((m_first + y) & 0xFF), 200, 200, 0 });
    }

private:
    std::int32_t m_row_height;
    std::int32_t m_first = 0;
};

double best_of(const std::function<void()>& work, int runs)
{
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

void ListScrollStep(benchmark::State& state)
{
    const std::string path = lists_skin();
    if (path.empty()) {
        state.SkipWithError("cannot compile the lists skin");
        return;
    }
    platform::ScopedService<platform::Clock, platform::headless::FakeClock> clock { platform::clock_slot(), 10000 };
    platform::ScopedService<platform::Display, platform::headless::HeadlessDisplay> screen {
        platform::display_slot(), platform::ScreenMode {}
    };
    os::Application application { u"ListBench" };
    skinner::Properties properties { platform::from_utf8(path), { 240, 320 } };
    skinner::Form form { nullptr, properties, u"Lists" };
    skinner::ControlListStringSelectionStrategySingleRow list { form, u"Grid" };
    for (std::int32_t i = 0; i < rows; ++i)
        list.items.push_back(u"Row " + platform::from_utf8(std::to_string(i)) + u" of the long list");
    list.refresh();
    list.set_selected_row(2);
    RowFill fill { form, list.get_item_height(0) };
    fill.set_rect(list.position(), list.size());
    fill.set_visible(false);
    screen->run_until_idle();

    std::int32_t first = 0;
    auto step = [&] {
        first = (first + 1) % (rows - list.get_page_rows());
        list.scroll_to(first);
        screen->run_until_idle();
    };
    bench::measure(state, step);
    const double ours = best_of(step, 200);

    list.set_visible(false);
    fill.set_visible(true);
    auto reference = [&] {
        fill.invalidate();
        screen->run_until_idle();
    };
    const double theirs = best_of(reference, 200);
    state.counters["ms"] = ours * 1000;
    state.counters["vs_row_fill"] = ours / theirs;
}

}

BENCHMARK(ListScrollStep)->UseManualTime()->Unit(benchmark::kMicrosecond);
