// Loading a skin and decoding skin pictures, each as a share of one frame at
// 60 Hz (the program loads a skin while its first frame waits), and PNG
// decoding against libpng on the same files: the skins' own pictures and
// two large generated ones.
#include "bench/support/Compare.h"
#include "bench/support/Reference.h"
#include "platform/core/Utf8.h"
#include "skinner/graphics/RawPngDecoder.h"
#include "skinner/skin/PropertiesImpl.h"
#include "tools/skinc/SkinLayout.h"
#include "tools/skinc/SkinSource.h"

#include <algorithm>
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

// Decodes every picture `repeats` times with ours and with libpng by turns;
// skips when a picture's pixels differ.
void png_rounds(benchmark::State& state, const std::vector<std::string>& pictures, int repeats)
{
    for (const std::string& bytes : pictures) {
        if (decode_ours(bytes) != decode_libpng(bytes)) {
            state.SkipWithError("our pixels differ from libpng's");
            return;
        }
    }
    // Each side's pixels stay where it decoded them: no copy is timed.
    std::size_t total = 0;
    auto ours = [&] {
        for (int i = 0; i < repeats; ++i) {
            for (const std::string& bytes : pictures) {
                skinner::RawPngDecoder decoder;
                decoder.decode(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
                total += decoder.pixels().size();
            }
        }
    };
    auto libpng = [&] {
        for (int i = 0; i < repeats; ++i)
            for (const std::string& bytes : pictures)
                total += decode_libpng(bytes).size();
    };
    bench::compare(state, 0, ours, { { "libpng", libpng } }, 9);
    benchmark::DoNotOptimize(total);
}

void PngDecode(benchmark::State& state, const std::string& name, const std::string& size)
{
    const std::string path = picture(name, size);
    if (path.empty()) {
        state.SkipWithError("cannot make the picture with ImageMagick");
        return;
    }
    const std::string bytes = read(path);
    png_rounds(state, { bytes }, 5);
    state.counters["frames"] = seconds_of([&] { decode_ours(bytes); }) / frame_seconds;
}

// The pictures of the skins we ship, each decoded once per run.
void PngDecodeSkinPictures(benchmark::State& state)
{
    std::vector<std::string> pictures;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(ORVANTA_SKIN_SOURCES)) {
        if (entry.path().extension() == ".png")
            pictures.push_back(read(entry.path().string()));
    }
    std::sort(pictures.begin(), pictures.end());
    pictures.erase(std::unique(pictures.begin(), pictures.end()), pictures.end());
    if (pictures.empty()) {
        state.SkipWithError("no skin pictures");
        return;
    }
    png_rounds(state, pictures, 20);
    state.counters["pictures"] = double(pictures.size());
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

BENCHMARK(PngDecodeSkinPictures)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PngDecodeBackground)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PngDecodeButtonStrip)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(SkinLoad)->UseManualTime()->Unit(benchmark::kMillisecond);
