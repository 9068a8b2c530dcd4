#include "drawing/image.h"

#include <cmath>

#include "drawing/text.h"

namespace sp {

Image::Image(int width, int height, double ratio)
    : w_(std::max(width, 0)), h_(std::max(height, 0)), ratio_(ratio),
      pixels_(static_cast<std::size_t>(w_) * static_cast<std::size_t>(h_))
{
    if (pixels_.empty())
        w_ = h_ = 0;
}

RectI RectF::aligned() const
{
    const int left = static_cast<int>(std::floor(x));
    const int top = static_cast<int>(std::floor(y));
    const int right = static_cast<int>(std::ceil(x + width));
    const int bottom = static_cast<int>(std::ceil(y + height));
    return {left, top, right - left, bottom - top};
}

namespace {

class NoText final : public TextSeam {
public:
    TextMetrics measure(std::string_view, double, std::string_view) override { return {}; }
    RectF draw(Image&, std::string_view, double, double x, double y, std::uint32_t,
               std::string_view) override
    {
        return {x, y, 0, 0};
    }
};

NoText no_text;
TextSeam* seam = &no_text;

}  // namespace

void set_text_seam(TextSeam* s) { seam = s != nullptr ? s : &no_text; }
TextSeam& text_seam() { return *seam; }

}  // namespace sp
