#pragma once

#include "platform/core/Message.h"
#include "platform/ui/Bitmap.h"
#include "platform/core/Region.h"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace platform {

class Font;

// Raster operations of bit_blt and stretch_blt (their platform numbers).
namespace rop {
inline constexpr std::uint32_t source_copy = 0x00CC0020; // d = s
inline constexpr std::uint32_t source_and = 0x008800C6; // d = d & s
inline constexpr std::uint32_t source_paint = 0x00EE0086; // d = d | s
inline constexpr std::uint32_t source_invert = 0x00660046; // d = d ^ s
}

// Background modes.
inline constexpr int transparent_background = 1;
inline constexpr int opaque_background = 2;

// draw_text flags (their platform numbers).
namespace dt {
inline constexpr std::uint32_t left = 0x0000;
inline constexpr std::uint32_t top = 0x0000;
inline constexpr std::uint32_t center = 0x0001;
inline constexpr std::uint32_t right = 0x0002;
inline constexpr std::uint32_t vcenter = 0x0004; // single line only
inline constexpr std::uint32_t bottom = 0x0008; // single line only
inline constexpr std::uint32_t single_line = 0x0020;
inline constexpr std::uint32_t no_clip = 0x0100;
inline constexpr std::uint32_t calc_rect = 0x0400;
inline constexpr std::uint32_t no_prefix = 0x0800;
inline constexpr std::uint32_t end_ellipsis = 0x8000;
}

// device_caps indices (their platform numbers).
namespace caps {
inline constexpr int horizontal_resolution = 8; // width in pixels
inline constexpr int vertical_resolution = 10; // height in pixels
inline constexpr int bits_per_pixel = 12;
inline constexpr int planes = 14;
inline constexpr int logical_pixels_x = 88; // dots per inch
inline constexpr int logical_pixels_y = 90;
}

// A drawing surface: a window's visible part on the device screen, the whole
// screen, or a memory context drawing into the bitmap selected in it.
// Coordinates are logical: a window context's (0, 0) is its client area's
// top left. Every operation is clipped to the context's area and its clip;
// drawing reports no errors (nothing is drawn where it cannot be).
//
// GUI thread only. A window or screen context is taken for one piece of
// drawing (a paint, a measurement) and dropped; windows that move, show or
// hide meanwhile are not seen by it. Colours are ColorRef (red in the low byte).
class DeviceContext {
public:
    // The window's client area, clipped to its visible part (nothing when it is
    // hidden or gone; children excluded with WS_CLIPCHILDREN).
    static DeviceContext for_window(Window);
    // The same, limited to a part of the client area (client coordinates).
    static DeviceContext for_window_area(Window, const Region& client_area);
    // The whole device screen, over every window and the shell's bars.
    static DeviceContext for_screen();
    // A memory context: draws nothing until a bitmap is selected in it.
    static DeviceContext memory();

    DeviceContext(DeviceContext&&) noexcept;
    DeviceContext& operator=(DeviceContext&&) noexcept;
    ~DeviceContext();

    // Memory contexts: selects the bitmap (or none) and answers the previous one
    // (null for none). Fails, answering nullopt and changing nothing, on a
    // window or screen context and for a bitmap selected in another context.
    std::optional<Bitmap*> select_bitmap(Bitmap*);
    Bitmap* selected_bitmap() const;
    // The font for text; null selects the system font. Answers the previous one.
    const Font* select_font(const Font*);
    const Font* selected_font() const { return m_state.font; }

    ColorRef set_text_color(ColorRef);
    ColorRef text_color() const { return m_state.text_color; }
    ColorRef set_background_color(ColorRef);
    // transparent_background or opaque_background; answers the previous mode,
    // or 0 for another value (which changes nothing).
    int set_background_mode(int);
    int background_mode() const { return m_state.background_mode; }

    // The clip: nullopt removes it (the whole area again), a rectangle replaces it.
    void select_clip(std::optional<Rect>);
    void intersect_clip(const Rect&);
    // The bounding box of what may be drawn, in logical coordinates.
    Rect clip_box() const;
    // Saves the clip, colours, mode and font; answers the new depth (from 1).
    int save();
    // Back to a saved depth (negative: that many levels up). False when none.
    bool restore(int level = -1);

    int device_caps(int index) const;

    void fill_rect(const Rect&, ColorRef);
    // One-pixel lines through the points; the last point is not painted.
    void polyline(std::span<const Point>, ColorRef);
    // invalid_color outside the clip or the surface.
    ColorRef get_pixel(Point) const;
    // False for an unknown raster operation. Source pixels outside the source's
    // surface leave the destination unchanged.
    bool bit_blt(Rect destination, const DeviceContext& source, Point source_origin, std::uint32_t rop);
    // Nearest neighbour; nothing (false) when an extent is below 1.
    bool stretch_blt(Rect destination, const DeviceContext& source, Rect source_rect, std::uint32_t rop);

    // Draws the text in the rectangle with the dt flags: lines split at line
    // feeds unless single_line; '&' marks no letter (and "&&" is '&') unless
    // no_prefix; with calc_rect nothing is drawn and the rectangle's right and
    // bottom become the text's extent. Answers the height of the text (for
    // vcenter and bottom, the offset from the rectangle's top to its end).
    int draw_text(std::u16string_view, Rect&, std::uint32_t flags);
    // Width and height of one line of text in the selected font.
    Size text_extent(std::u16string_view);
    // The width of each start of the text (1, 2, ... units), as text_extent
    // measures it, in one pass: where a caret between characters lies.
    std::vector<std::int32_t> text_prefix_widths(std::u16string_view);

    // The surface drawn on and where logical (0, 0) lies on it; null when
    // nothing can be drawn. For the framework's own pixel work.
    Bitmap* surface() const { return m_target; }
    Point origin() const { return m_origin; }

private:
    friend class Bitmap;
    enum class Kind { memory, screen, window };
    struct State {
        std::optional<Region> clip; // device coordinates
        ColorRef text_color = 0;
        ColorRef background_color = 0xFFFFFF;
        int background_mode = opaque_background;
        const Font* font = nullptr;
    };

    DeviceContext(Kind, Bitmap* target, Point origin, Region area);
    void bitmap_destroyed(Bitmap&);
    void release();
    const Region& drawable() const;
    void changed() { m_drawable_valid = false; }
    // Runs f(row pointer, first x, count, y) for each clipped span of the
    // device rectangle.
    template<typename F>
    void for_each_span(const Rect& device_rect, F f);
    void touched(const Rect& device_rect);
    // The source to read a transfer from: a copy when it is this context's own surface.
    const Bitmap* readable(const Bitmap* source, std::unique_ptr<Bitmap>& snapshot) const;
    void draw_glyphs(std::u16string_view line, Point position, const Rect& clip_rect, bool clip);

    Kind m_kind;
    Bitmap* m_target;
    Point m_origin;
    Region m_area; // device coordinates
    State m_state;
    std::vector<State> m_saved;
    mutable Region m_drawable;
    mutable bool m_drawable_valid = false;
};

// The raster operations that bit_blt knows, as one step on a pixel.
bool apply_rop(std::uint32_t rop, Pixel& destination, Pixel source);

}
