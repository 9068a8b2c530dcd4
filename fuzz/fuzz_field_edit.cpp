// One whole edit of a parameter field as the main window handles it, without the widgets:
// the text is read, checked (a rejected value is replaced), stored with the parameter's
// precision and written back normalised, which is handled once more, nested, until the
// text stays; then everything a re-layout recomputes and draws: the characteristics,
// minmax, the axes of all five pictures on small surfaces, and the first steps of a run.
//
// The first byte picks the field, counted from '0' modulo 9: '0' alpha, '1' beta, '2' Xm,
// '3' DYg, '4' Xo, '5' Vox, '6' Yo, '7' Voy, '8' Tmax; in the next group of nine ('9' to
// 'A') the numbers are written with a decimal comma, and so on alternately; beyond the first 18 the
// pictures are drawn at the device pixel ratio of a 125 %, 150 % or 200 % screen in turn.
// The rest is the text typed.
#include <QGuiApplication>
#include <QtGlobal>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "drawing/pictures.h"
#include "drawing/surface.h"
#include "model/characteristics.h"
#include "model/entry.h"
#include "model/extents.h"
#include "model/number_format.h"
#include "model/oscillator.h"
#include "model/parameters.h"
#include "model/walk.h"
#include "qtdrawing/qt_drawing.h"

namespace {

using namespace sp;

// A broken invariant must stop the fuzzer with the input that broke it.
void require(bool ok)
{
    if (!ok)
        __builtin_trap();
}

// Qt only speaks up when something is wrong with what it is asked to draw.
void no_messages(QtMsgType, const QMessageLogContext&, const QString&)
{
    __builtin_trap();
}

bool finite(const CoordWindow& w)
{
    return std::isfinite(w.x1) && std::isfinite(w.y1) && std::isfinite(w.x2) && std::isfinite(w.y2);
}

bool shows_no_non_finite(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return s.find("nan") == std::string::npos && s.find("inf") == std::string::npos;
}

// The user's text, its normalised form, and the replacement when that form rounds to a
// rejected value (a tiny positive Tmax shows as "0.0"), as the window's nested handlings
// and the page's edit_field_whole take them: the text left in the field is one that a
// further handling leaves as it is, so the nesting ends.
void handle_edit(Parameters& p, ParamId id, std::string_view typed)
{
    const std::string left = edit_field_whole(p, id, typed).text;
    Parameters again = p;
    require(edit_field(again, id, left).text == left);
}

// The window shows a characteristic's number or, where the model gives a reason, "—":
// a value is missing exactly when a reason says so, and what is shown never says nan.
void check_characteristics(const Characteristics& c, char dp)
{
    require(std::isfinite(c.Ax) && std::isfinite(c.Ay) && std::isfinite(c.fi_y));
    require(std::isfinite(c.h) && std::isfinite(c.t_end));
    require(std::isfinite(c.g) == (c.g_undefined == Undefined::Defined));
    require(std::isfinite(c.fi_x) == (c.fi_x_undefined == Undefined::Defined));
    require(std::isfinite(c.Dj) == (c.fi_x_undefined == Undefined::Defined));
    for (const double v : {c.g, c.fi_x, c.fi_y, static_cast<double>(c.Dj)})
        require(shows_no_non_finite(format_fixed(v, 3, dp)));
    for (const double v : {c.Ax, c.Ay})
        require(shows_no_non_finite(format_scientific(v, dp)));
}

void check_extents(const Extents& e)
{
    for (const double v : {e.M, e.x_min, e.x_max, e.y_min, e.y_max, e.lupa_x1, e.lupa_x2,
                           e.lupa_y1, static_cast<double>(e.lupa_y2), e.yt_min, e.yt_max})
        require(std::isfinite(v));
    for (const CoordWindow& w : {e.plane, e.animation, e.xt, e.yt, e.lupa})
        require(finite(w));
}

void check_marks(const Marks& m)
{
    require(std::isfinite(m.plane.n_gx) && std::isfinite(m.plane.n_gy));
    require(std::isfinite(m.plane.crank_cx) && std::isfinite(m.plane.crank_cy));
    require(std::isfinite(m.xs));
}

// The run's first steps on the pictures, as the run loop draws them.
void run_a_little(Pictures& pics, const Settings& s, const Characteristics& c, const Marks& marks,
                  const CopyRects& blt)
{
    // A non-finite step ends the run drawing nothing more; a stalled one is drawn and ends it.
    std::int64_t drawn = 0;
    draw_first_steps(pics, s, c, marks, blt, 12, drawn);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The texts are drawn in Qt's fonts, as in the window: they need an application
    // object, no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_field_edit";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    use_qt_text();
    qInstallMessageHandler(no_messages);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned pick = static_cast<std::uint8_t>(data[0] - '0');
    const auto id = static_cast<ParamId>(pick % 9);
    const char dp = (pick / 9) % 2 != 0 ? ',' : '.';
    constexpr double kRatios[] = {1.0, 1.25, 1.5, 2.0};
    const double ratio = kRatios[(pick / 18) % 4];
    const std::string typed(reinterpret_cast<const char*>(data) + 1, size - 1);

    Settings s = defaults();
    handle_edit(s.params, id, typed);
    const double value = value_of(s.params, id);
    require(std::isfinite(value));
    require(!check_entry(id, value));

    const Characteristics c = characteristics_of(s.params);
    check_characteristics(c, dp);
    const Extents e = minmax(s.params, c, s.scales, s.look);
    check_extents(e);

    // Small panels keep each input cheap; a short, wide one like the time graphs' too.
    Surface picture1(SizeI{40, 40});
    Surface picture2(SizeI{40, 40});
    Surface picture3(SizeI{30, 15});
    Surface picture4(SizeI{30, 15});
    Surface form3(SizeI{40, 40}, kMagnifierFontName, kMagnifierFontPoints);
    for (Surface* surface : {&picture1, &picture2, &picture3, &picture4, &form3})
        surface->resize(surface->size(), ratio);
    Pictures pics{picture1, picture2, picture3, picture4, form3};
    const CopyRects blt{RectI(0, 0, 40, 40), RectI(0, 0, 40, 40)};
    const Marks marks = redraw_empty(pics, s, c, e, blt, dp);
    check_marks(marks);
    run_a_little(pics, s, c, marks, blt);
    return 0;
}
