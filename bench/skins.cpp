// Loading a skin and decoding skin pictures, each as a share of one frame at
// 60 Hz (the program loads a skin while its first frame waits), and PNG
// decoding against libpng on the same file.
#include "bench/support/Reference.h"
#include "platform/Utf8.h"
#include "skinner/graphics/RawPngDecoder.h"
#include "skinner/skin/PropertiesImpl.h"
#include "tools/skinc/SkinLayout.h"
#include "tools/skinc/SkinSource.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <png.h>

namespace {

constexpr double frame_seconds = 1.0 / 60;

std::string read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), {} };
}

// A full-screen background of a 480 x 640 screen, and a strip of eight button states.
std::string picture(const std::string& name, const std::string& size)
{
    return bench::generated_input(
        name, { "convert", "-seed", "1", "-size", size, "plasma:", "-blur", "0x2", "-depth", "8", "%o" });
}

std::vector<std::uint8_t> decode_ours(const std::string& bytes)
{
    skinner::RawPngDecoder decoder;
    decoder.decode(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return decoder.pixels();
}

std::vector<std::uint8_t> decode_libpng(const std::string& bytes)
{
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    std::vector<std::uint8_t> pixels;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return pixels;
    image.format = PNG_FORMAT_RGBA;
    pixels.resize(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
    return pixels;
}

double seconds_of(const std::function<void()>& work, int runs = 20)
{
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best
            = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

void PngDecode(benchmark::State& state, const std::string& name, const std::string& size)
{
    const std::string path = picture(name, size);
    if (path.empty()) {
        state.SkipWithError("cannot make the picture with ImageMagick");
        return;
    }
    const std::string bytes = read(path);
    if (decode_ours(bytes) != decode_libpng(bytes)) {
        state.SkipWithError("our pixels differ from libpng's");
        return;
    }
    std::size_t total = 0;
    bench::measure(state, [&] { total += decode_ours(bytes).size(); });
    // Both at their best of the same number of runs: a busy machine slows single runs.
    const double ours = seconds_of([&] { total += decode_ours(bytes).size(); });
    const double theirs = seconds_of([&] { total += decode_libpng(bytes).size(); });
    benchmark::DoNotOptimize(total);
    state.counters["frames"] = ours / frame_seconds;
    state.counters["vs_libpng"] = ours / theirs;
}

void PngDecodeBackground(benchmark::State& state)
{
    PngDecode(state, "background.png", "480x640");
}

void PngDecodeButtonStrip(benchmark::State& state)
{
    PngDecode(state, "buttons.png", "640x60");
}

// The test skin, compiled, with its pictures beside it.
std::string test_skin()
{
    static const std::string path = [] {
        const std::filesystem::path source = ORVANTA_FIXTURES "/skin";
        const std::filesystem::path folder = std::filesystem::temp_directory_path() / "orvanta-bench-skin";
        std::filesystem::create_directories(folder);
        for (const char* file : { "panel.png", "button.png", "button_x2.png" })
            std::filesystem::copy_file(
                source / file, folder / file, std::filesystem::copy_options::overwrite_existing);
        const skinc::ParseResult parsed = skinc::parse_skin(read(source / "test.skin.xml"));
        const skinc::LayoutResult laid_out = skinc::lay_out(parsed.skin);
        if (!parsed.error.empty() || !laid_out.error.empty())
            return std::string();
        std::ofstream(folder / "test.skin", std::ios::binary)
            .write(reinterpret_cast<const char*>(laid_out.bytes.data()),
                static_cast<std::streamsize>(laid_out.bytes.size()));
        return (folder / "test.skin").string();
    }();
    return path;
}

// The whole load: read, check, choose the scale, decode every picture (the
// cache is empty again once a load's skin is gone).
void SkinLoad(benchmark::State& state)
{
    const std::string path = test_skin();
    if (path.empty()) {
        state.SkipWithError("cannot compile the test skin");
        return;
    }
    bool valid = true;
    auto load = [&] {
        skinner::PropertiesImpl skin(platform::from_utf8(path), skinner::Size { 480, 640 });
        valid = valid && skin.is_valid();
    };
    bench::measure(state, load);
    const double ours = seconds_of(load);
    if (!valid)
        state.SkipWithError("the test skin did not load");
    state.counters["frames"] = ours / frame_seconds;
}

}

BENCHMARK(PngDecodeBackground)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PngDecodeButtonStrip)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(SkinLoad)->UseManualTime()->Unit(benchmark::kMillisecond);
