#pragma once
// The one thing the pictures cannot draw by themselves: text. Fonts are the front-end's
// (Qt's in the window and the tool, the browser's on a web page), so each front-end gives
// the drawing code these two operations, and nothing else of it is needed. Texts are UTF-8.
//
// A face is a font name as the pictures name it ("Times New Roman", "MS Sans Serif") and
// its size in points; lengths are logical pixels at 96 dots per inch, where 11.25 points
// are 15 pixels.

#include <cstdint>
#include <string_view>

#include "drawing/image.h"

namespace sp {

struct TextMetrics {
    double advance = 0;  // how far the pen moves past the text
    double ascent = 0;   // from the top of the text's cell to its baseline
    double height = 0;   // of the cell: a line of the face
};

class TextSeam {
public:
    virtual ~TextSeam() = default;
    virtual TextMetrics measure(std::string_view font, double points, std::string_view text) = 0;
    // Draws the text with its cell's top-left corner at (x, y) logical pixels of the image
    // (scaled by its device pixel ratio) in the colour 0xFFRRGGBB; returns the cell as
    // drawn, in logical pixels.
    virtual RectF draw(Image& image, std::string_view font, double points, double x, double y,
                       std::uint32_t rgb, std::string_view text) = 0;
};

// The front-end's seam, set once at start-up; until then texts measure nothing and draw
// nothing, which leaves every other pixel of a picture as it is.
void set_text_seam(TextSeam* seam);
TextSeam& text_seam();

}  // namespace sp
