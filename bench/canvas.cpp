// Painting the main form's background and a list of 20 rows through the
// canvas into a 480 x 640 back buffer (skin scale 2): a stretched nine-part
// background, then in each row a framed row picture, a masked icon, a title
// shortened with an ellipsis and a right-aligned time; one row lies under an
// alpha-blended highlight. Compared with the same work done by the fewest
// plain platform calls (one stretched copy for the background; a fill, two
// copies for the masked icon and two texts per row; one copy for the
// highlight) and with one frame at 60 Hz.
#include "skinner/graphics/Canvas.h"

#include "bench/support/Reference.h"
#include "platform/core/Utf8.h"
#include "skinner/graphics/HDCSelector.h"
#include "skinner/graphics/Font.h"
#include "skinner/skin/Picture.h"

#include <benchmark/benchmark.h>
#include <chrono>

using namespace platform;

namespace {

constexpr double frame_seconds = 1.0 / 60;
constexpr int rows = 20, row_height = 28, list_top = 60;
constexpr skinner::Color text_color { 29, 42, 50, 0 };
constexpr char16_t title[] = u"07  Artist name \u2013 A rather long track title that does not fit.mp3";

std::string make(const std::string& name, std::vector<std::string> args)
{
    args.insert(args.begin(), "convert");
    for (const char* arg : { "-define", "png:color-type=2", "%o" })
        args.push_back(arg);
    return bench::generated_input(name, args);
}

// The skin's pictures, made once; the path of the skin they lie beside.
std::u16string skin_path()
{
    const std::string back = make("back.png", { "-seed", "1", "-size", "64x64", "plasma:", "-depth", "8" });
    make("row.png", { "-size", "1x1", "xc:#EEF1F3", "-bordercolor", "#C0C8CC", "-border", "1" });
    make("icon.png", { "-seed", "2", "-size", "12x12", "plasma:", "-depth", "8" });
    make("icon_1.png", { "-size", "12x12", "xc:black", "-fill", "white", "-draw", "circle 6,6 6,1" });
    make("glass.png", { "-size", "8x8", "xc:#2FA7B8" });
    make("glass_8.png", { "-size", "8x8", "gradient:gray(200)-gray(60)" });
    return back.empty() ? std::u16string() : from_utf8(back.substr(0, back.rfind('/') + 1) + "bench.skin");
}

skinner::Picture part(skinner::Picture p, std::int32_t border)
{
    const skinner::Size size = p.get_size();
    p.set_inner_top_left({ border, border });
    p.set_inner_bottom_right({ size.width - border, size.height - border });
    p.set_stretch(true);
    return p;
}

void MainFormAndList(benchmark::State& state)
{
    const std::u16string skin = skin_path();
    if (skin.empty()) {
        state.SkipWithError("ImageMagick could not make the pictures");
        return;
    }
    const skinner::Picture back = part(skinner::Picture(skin, u"back", true, 2), 32);
    const skinner::Picture row = part(skinner::Picture(skin, u"row", true, 2), 2);
    const skinner::Picture icon(skin, u"icon", false, 2);
    const skinner::Picture glass = part(skinner::Picture(skin, u"glass", true, 2), 0);
    skinner::Font font(2);
    font.set_description(u"9 0 0 0 Tahoma");
    for (const skinner::Picture* p : { &back, &row, &icon, &glass })
        if (!p->get_image()->is_valid()) {
            state.SkipWithError("a picture did not load");
            return;
        }

    const auto ours = [&](DeviceContext& dc) {
        skinner::CanvasImpl impl(dc, {}, { 480, 640 });
        skinner::Canvas c(impl);
        back.draw(c, {}, { 480, 640 });
        for (int i = 0; i < rows; ++i) {
            const std::int32_t y = list_top + i * row_height;
            c.push_clip({ 0, y }, { 480, row_height });
            row.draw(c, { 4, y }, { 472, row_height });
            icon.draw(c, { 12, y + 2 }, icon.get_size());
            c.draw_text_ellipsis(font, text_color, title, { 44, y }, { 340, row_height }, 0, 1);
            c.draw_text(font, text_color, u"3:45", { 390, y }, { 80, row_height }, 2, 1);
            if (i == 3)
                glass.draw(c, { 4, y }, { 472, row_height });
            c.pop_clip();
        }
    };
    const auto reference = [&](DeviceContext& dc) {
        skinner::HDCSelector back_bits(back.get_image()->color());
        skinner::HDCSelector icon_bits(icon.get_image()->color());
        skinner::HDCSelector icon_mask(icon.get_image()->mask());
        dc.stretch_blt({ 0, 0, 480, 640 }, *back_bits.dc(), { 0, 0, 128, 128 }, rop::source_copy);
        dc.select_font(font.platform_font());
        dc.set_background_mode(transparent_background);
        dc.set_text_color(skinner::color_ref(text_color));
        for (int i = 0; i < rows; ++i) {
            const std::int32_t y = list_top + i * row_height;
            dc.fill_rect({ 4, y, 476, y + row_height }, rgb(238, 241, 243));
            const Rect at { 12, y + 2, 36, y + 26 };
            dc.bit_blt(at, *icon_mask.dc(), {}, rop::source_paint);
            dc.bit_blt(at, *icon_bits.dc(), {}, rop::source_and);
            Rect text { 44, y, 384, y + row_height };
            dc.draw_text(title, text, dt::single_line | dt::vcenter | dt::no_prefix | dt::end_ellipsis);
            Rect time { 390, y, 470, y + row_height };
            dc.draw_text(u"3:45", time, dt::single_line | dt::vcenter | dt::no_prefix | dt::right);
            if (i == 3)
                dc.bit_blt({ 4, y, 476, y + row_height }, *back_bits.dc(), {}, rop::source_copy);
        }
        dc.select_font(nullptr);
    };

    // The form's back buffer, which a paint draws into before it is shown.
    const auto buffer = Bitmap::create(480, 640);
    DeviceContext dc = DeviceContext::memory();
    dc.select_bitmap(buffer.get());
    double plain = 0;
    constexpr int runs = 50;
    reference(dc);
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        reference(dc);
        plain += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / runs;
    }
    ours(dc);
    const double seconds = bench::measure(state, [&] { ours(dc); });
    state.counters["ms"] = seconds * 1000;
    state.counters["vs_platform_calls"] = seconds / plain;
    state.counters["vs_frame"] = seconds / frame_seconds;
}

}

BENCHMARK(MainFormAndList)->UseManualTime()->Unit(benchmark::kMillisecond);
