#pragma once
// A drawing surface: one retained picture with a model coordinate window, a pen, colours
// and a font. Every picture of the program is drawn with these few operations; the window
// only shows the image. Each operation marks the pixels it touched, so that a panel can
// repaint just that part after a step instead of the whole picture.
//
// A surface keeps its logical size and model coordinates on any screen, but draws into an
// image of that size times the screen's device pixel ratio: pen widths, dashes, dots and
// fonts are scaled with it, so a picture on a 150 % or 200 % desktop looks the same, only
// sharper. At ratio 1 image pixels are logical pixels.
//
// Any number may arrive here, since the curves follow whatever the motion does: segments
// are cut to the visible window in model coordinates before they become pixels, points
// that are not finite are not drawn, and a window of zero or non-finite size draws nothing.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "drawing/clip.h"
#include "drawing/image.h"

namespace sp {

// The serif face of the four picture panels; the magnifier keeps its window's own font.
inline constexpr std::string_view kPanelFontName = "Times New Roman";
inline constexpr double kPanelFontPoints = 11.25;
inline constexpr std::string_view kMagnifierFontName = "MS Sans Serif";
inline constexpr double kMagnifierFontPoints = 8.25;

// The device pixel ratio a surface draws at on a screen of that ratio: the same, unless it
// is beyond any screen (outside 0.25 to 8, or not a number), then 1.
double drawing_ratio(double screen_ratio);

enum class Coord { x, y };

class Surface {
public:
    explicit Surface(SizeI size = {}, std::string_view font_name = kPanelFontName,
                     double font_points = kPanelFontPoints);

    // A new, blank image of that logical size (at that device pixel ratio, or the present
    // one); the pen returns to (0, 0), the settings stay.
    void resize(SizeI size);
    void resize(SizeI size, double ratio);
    SizeI size() const { return size_; }
    double device_pixel_ratio() const { return ratio_; }
    // size() × device_pixel_ratio() image pixels, rounded up, with that ratio set.
    const Image& image() const { return image_; }

    // The rectangle changed since the last call, in logical pixels (covering every image
    // pixel that changed), then forgets it.
    RectI take_dirty();

    // Upper-left corner (x1, y1) and lower-right corner (x2, y2) in model coordinates,
    // held in single precision; either axis may run either way.
    void set_scale(double x1, double y1, double x2, double y2);
    void clear();
    void draw_line(double xa, double ya, double xb, double yb, std::uint32_t colour);
    void line_to(double xb, double yb, std::uint32_t colour);
    void draw_box(double xa, double ya, double xb, double yb, std::uint32_t colour);
    void plot_point(double x, double y);
    // r is measured along the x axis.
    void draw_circle(double xc, double yc, double r, std::uint32_t colour);
    // Top-left of the text cell at the pen; "Symbol" texts show as Greek letters.
    void print_text(std::string_view s);  // UTF-8
    void move_pen(Coord which, double value);

    void pen_width(int width);     // pixels, at least 1
    void pen_style(int style);     // 0 solid, 1 dashed
    void fore_color(std::uint32_t bgr);
    void fill_color(std::uint32_t bgr);
    void fill_style(int style);    // 0 solid fill, 1 outline only
    void font_name(std::string_view name);

    int pen_width() const { return pen_width_; }
    int pen_style() const { return pen_style_; }
    std::uint32_t fore_color() const { return fore_color_; }
    std::uint32_t fill_color() const { return fill_color_; }
    int fill_style() const { return fill_style_; }
    const std::string& font_name() const { return font_name_; }
    double font_points() const { return font_points_; }
    double pen_x() const { return pen_x_; }
    double pen_y() const { return pen_y_; }
    float scale_x1() const { return x1_; }
    float scale_y1() const { return y1_; }
    float scale_x2() const { return x2_; }
    float scale_y2() const { return y2_; }

    // How far a text printed with the present font advances, in logical pixels.
    double text_width(std::string_view s);
    // The height of a line of the present font, in logical pixels.
    double text_height() { return face().height; }

    // Image pixel position of a model point (fractional; pixel (i, j) covers
    // [i, i+1) × [j, j+1)).
    // Empty when the window is degenerate or the point does not map to finite pixels.
    std::optional<PointF> to_pixel(double x, double y) const;

private:
    friend void transparent_blt(Surface& dst, const RectI& to, const Surface& src,
                                const RectI& from, std::uint32_t key);
    friend void refresh_background(Surface& dst, const RectI& to, Surface& src,
                                   const RectI& from, std::uint32_t key);

    struct Mapping {
        double sx = 0, sy = 0;  // pixels per model unit, signed
        bool ok = false;
    };
    void update_mapping();
    // The model-space rectangle that covers the image and `margin` logical pixels around it.
    ClipRect model_clip(double margin) const;
    // Logical pixels to image pixels.
    double scaled(double logical) const { return logical * ratio_; }
    void segment(double xa, double ya, double xb, double yb, std::uint32_t colour);
    void touch(const RectI& r)
    {
        dirty_ |= r;
        changed_ |= r;
        ++paintings_;
    }

    SizeI size_;
    double ratio_ = 1.0;
    Image image_;
    RectI dirty_;    // image pixels, until the panel takes them
    RectI changed_;  // image pixels, until the next refresh_background takes them
    // Counts the operations that painted, so that a wide line can tell that the round end
    // it painted last is still there untouched (see segment()).
    std::uint64_t paintings_ = 0;
    struct RoundEnd {
        double x = 0, y = 0;
        int width = 0;
        std::uint32_t colour = 0;
        std::uint64_t painting = ~std::uint64_t{0};
    } last_end_;
    float x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    Mapping map_;
    double pen_x_ = 0, pen_y_ = 0;
    int pen_width_ = 1;
    int pen_style_ = 0;
    std::uint32_t fore_color_ = 0x000000;
    std::uint32_t fill_color_ = 0x000000;
    int fill_style_ = 1;
    std::string font_name_;
    double font_points_;
    // Measured at the first text: the front-end's fonts may not be ready before.
    struct Face {
        double ascent;
        double height;
    };
    std::optional<Face> face_;
    const Face& face();
};

// Copies the rectangle `from` of src onto the rectangle `to` of dst (scaled to it when the
// sizes differ), leaving the destination pixel alone wherever the source pixel has exactly
// the key colour. Both rectangles are in logical pixels of their surfaces; the copy is
// made between image pixels. Parts outside either image are skipped.
void transparent_blt(Surface& dst, const RectI& to, const Surface& src, const RectI& from,
                     std::uint32_t key);

// What `clear()` of dst followed by `transparent_blt(dst, to, src, from, key)` would
// leave, done only where it changes something: where dst was drawn on, and where src
// changed (as far as it is copied), since the previous refresh between the two. Elsewhere
// dst already shows that copy. The animation redraws its background this way each frame,
// so a frame costs and repaints the old and the new machine and the new trajectory only.
// The pen stays where it is.
void refresh_background(Surface& dst, const RectI& to, Surface& src, const RectI& from,
                        std::uint32_t key);

// A rectangle given in fractional pixels, each value rounded to a whole pixel.
RectI pixel_rect(double x, double y, double w, double h);

// The two rectangles of the background copy from the plane to the animation panel.
struct CopyRects {
    RectI source;
    RectI dest;
};

}  // namespace sp
