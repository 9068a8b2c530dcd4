// The page's fonts for the pictures' texts: the browser measures and draws them (on a canvas
// of its own), and the drawn text is laid into the picture's pixels by its coverage, in the
// colour asked for. The faces are those the window falls back to: Liberation Serif for
// "Times New Roman" and "Symbol", Liberation Sans for "MS Sans Serif"; sizes in points at
// 96 dots per inch.
#include "web/text_seam.h"

#include <emscripten/emscripten.h>

#include <string>

#include "drawing/text.h"

namespace {

// out: advance, ascent, height (logical pixels)
EM_JS(void, sp_js_measure, (const char* font, double points, const char* text, double* out), {
    const m = Module.spMeasureText(UTF8ToString(font), points, UTF8ToString(text));
    HEAPF64[(out >> 3)] = m[0];
    HEAPF64[(out >> 3) + 1] = m[1];
    HEAPF64[(out >> 3) + 2] = m[2];
});

// Draws into the image of `width` × `height` pixels at `pixels` (0xFFRRGGBB, at `ratio` device
// pixels per logical one); out: the cell drawn, x, y, width, height (logical pixels).
EM_JS(void, sp_js_draw,
      (int pixels, int width, int height, double ratio, const char* font, double points, double x,
       double y, int rgb, const char* text, double* out),
      {
          const r = Module.spDrawText(pixels, width, height, ratio, UTF8ToString(font), points, x, y,
                                      rgb >>> 0, UTF8ToString(text));
          for (let i = 0; i < 4; ++i)
              HEAPF64[(out >> 3) + i] = r[i];
      });

class BrowserText final : public sp::TextSeam {
public:
    sp::TextMetrics measure(std::string_view font, double points, std::string_view text) override
    {
        double m[3] = {0, 0, 0};
        sp_js_measure(std::string(font).c_str(), points, std::string(text).c_str(), m);
        return {m[0], m[1], m[2]};
    }
    sp::RectF draw(sp::Image& image, std::string_view font, double points, double x, double y,
                   std::uint32_t rgb, std::string_view text) override
    {
        double r[4] = {0, 0, 0, 0};
        if (image.null())
            return {};
        sp_js_draw(static_cast<int>(reinterpret_cast<std::uintptr_t>(image.bits())), image.width(),
                   image.height(), image.device_pixel_ratio(), std::string(font).c_str(), points, x, y,
                   static_cast<int>(rgb), std::string(text).c_str(), r);
        return {r[0], r[1], r[2], r[3]};
    }
};

}  // namespace

namespace sp::web {

void use_browser_text()
{
    static BrowserText text;
    set_text_seam(&text);
}

}  // namespace sp::web
