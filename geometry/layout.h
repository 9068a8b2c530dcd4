#pragma once
// Where every control of the main window goes, as a pure function of the client size.
// No control has a fixed place: the graph square fills the left part from the top-left
// corner, its side the width left of the parameter column; the parameter column (128
// wide) stands at the right edge; the bottom row holds the slow-down bar with its value
// below it, the magnifier-scale bar with the magnifier button below it, the graph-choice
// frame and the start button. Values are in pixels and may be fractional (the frame is
// 57.6 high); whole_pixels() gives what the window system uses.

namespace sp {

struct Rect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Each value rounded to the nearest pixel (halves away from zero).
PixelRect whole_pixels(const Rect& r);

struct Geometry {
    double gap_x = 0;  // margins, 4 pixels
    double gap_y = 0;

    Rect Label10;  // "Параметры задачи"
    // Parameter rows, top to bottom: Label1/Text1, Label4/Text4, Label7/Text7,
    // Label8/Text8, Label2/Text2, Label3/Text3, Label5/Text5, Label6/Text6, Label9/Text9.
    Rect Label1, Text1, Label4, Text4, Label7, Text7, Label8, Text8, Label2, Text2;
    Rect Label3, Text3, Label5, Text5, Label6, Text6, Label9, Text9;
    Rect Label11;  // "Характеристики", the row below Tmax
    Rect Label12, Label13, Label14, Label15, Label16, Label17;

    Rect CmdOK;
    Rect HScroll1;
    Rect Label21;
    Rect HScroll2;
    Rect Command1;
    Rect Frame1;

    Rect Picture1;
    Rect Picture2;
    Rect VScroll1;
    Rect Picture3;
    Rect VScroll2;
    Rect Picture4;

    // The background copy from Picture1 into Picture2: always the whole panel.
    double blt_xs = 0, blt_ys = 0, blt_ws = 0, blt_hs = 0;
    double blt_xd = 0, blt_yd = 0, blt_wd = 0;
    float blt_hd = 0;
};

// The option buttons keep fixed places inside Frame1, relative to its top-left corner.
inline constexpr PixelRect kOption1{3, 17, 73, 20};
inline constexpr PixelRect kOption2{3, 37, 80, 20};

// The geometry for a client area of CW × CH pixels. There is no lower bound on the
// window size: below a client width of about 140 the graph panels would get a negative
// size, so every width and height is held at zero or more (a minimised window reports 0 × 0).
Geometry layout(double CW, double CH);

}  // namespace sp
