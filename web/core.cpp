// The page's way into the core: the same model and analysis the window and the tool use,
// compiled to WebAssembly and called from TypeScript with numbers and strings. Texts come
// back as JSON or CSV in a buffer the page reads before its next call.
//
// One session holds what the window holds: the parameters behind the nine fields, the
// scales of the bars, and the run in progress, which the page advances in chunks so it can
// pace and draw it between them.

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/csv.h"
#include "analysis/sweep.h"
#include "drawing/animation.h"
#include "drawing/lab_plots.h"
#include "drawing/pictures.h"
#include "drawing/portrait.h"
#include "drawing/surface.h"
#include "geometry/layout.h"
#include "model/characteristics.h"
#include "model/entry.h"
#include "model/experiments.h"
#include "model/extents.h"
#include "model/number_format.h"
#include "model/oscillator.h"
#include "model/parameters.h"
#include "model/walk.h"
#include "web/text_seam.h"

namespace {

using namespace sp;

struct Session {
    Settings settings = defaults();
    // the run: its parameters as they were at the start, its state and its step count
    Parameters run_params{};
    Characteristics run_c{};
    RunState run{};
    std::int64_t steps = 0;
    bool running = false;
    std::vector<double> chunk;  // t, x, y, vx, vy, xs of each step of the last chunk
    std::string text;           // the last text handed out
};

Session& session()
{
    static Session s;
    return s;
}

// The five pictures as the window has them, drawn by the core; the page shows their pixels.
struct Drawing {
    Surface picture1, picture2, picture3, picture4;
    Surface form3{SizeI{250, 250}, kMagnifierFontName, kMagnifierFontPoints};
    Surface portrait{SizeI{}, kPortraitFontName, kPortraitFontPoints};
    Portrait portrait_picture;
    Surface curve;  // the resonance curve, drawn by the plot kit as the window's is
    bool portrait_open = false;
    Geometry geometry;
    CopyRects blt;
    Marks marks;
    int anim_count = 0;
    bool laid_out = false;
    Pictures pictures() { return {picture1, picture2, picture3, picture4, form3}; }
    Surface* surface(int i)
    {
        Surface* all[] = {&picture1, &picture2, &picture3, &picture4, &form3, &portrait, &curve};
        return i >= 0 && i < 7 ? all[i] : nullptr;
    }
};

Drawing& drawing()
{
    static Drawing d;
    return d;
}

SizeI panel_size(const Rect& r)
{
    const PixelRect p = whole_pixels(r);
    return {p.width, p.height};
}

std::string json_rect(const Rect& r)
{
    const PixelRect p = whole_pixels(r);
    return "[" + std::to_string(p.left) + "," + std::to_string(p.top) + "," + std::to_string(p.width) +
           "," + std::to_string(p.height) + "]";
}

const char* hand_out(std::string text)
{
    session().text = std::move(text);
    return session().text.c_str();
}

std::string json_string(const std::string& s)
{
    std::string out = "\"";
    for (const char ch : s) {
        if (ch == '"' || ch == '\\')
            out += '\\';
        out += ch;
    }
    return out + '"';
}

// 17 digits, or null for a value that does not exist
std::string json_number(double v)
{
    return std::isfinite(v) ? analysis::number17(v) : std::string("null");
}

bool valid_field(int id) { return id >= 0 && id < 9; }

// The curve being computed: its points as the workers hand in their rows, for the fields'
// parameters at its start.
struct CurvePoints {
    Parameters params;
    std::vector<std::optional<analysis::SweepRow>> rows;
    std::optional<Range> beta;  // the range asked for, as the window's axis spans it
};

CurvePoints& curve_points()
{
    static CurvePoints c;
    return c;
}

}  // namespace

extern "C" {

// Everything as at start-up.
EMSCRIPTEN_KEEPALIVE void sp_reset() { session() = Session{}; }

// The text a field shows for its parameter now.
EMSCRIPTEN_KEEPALIVE const char* sp_field_text(int id)
{
    if (!valid_field(id))
        return hand_out("");
    const auto pid = static_cast<ParamId>(id);
    return hand_out(format_field(value_of(session().settings.params, pid), field_decimals(pid)));
}

// One whole edit of a field, by the model's one rule that the window follows too (the
// page's fields do not hear of the texts they are given, so the edit is handled whole):
// {"text": the field's text after, "faults": [] or ["Negative" | "NotPositive"]}
EMSCRIPTEN_KEEPALIVE const char* sp_edit_field(int id, const char* typed)
{
    if (!valid_field(id))
        return hand_out("{\"text\":\"\",\"faults\":[]}");
    Session& session_now = session();
    const FieldEdit e = edit_field_whole(session_now.settings.params, static_cast<ParamId>(id), typed);
    // The computation time may change during a run: the run ends at the new time.
    if (session_now.running && static_cast<ParamId>(id) == ParamId::Tmax) {
        session_now.run_params.Tmax = session_now.settings.params.Tmax;
        session_now.run_c = characteristics_of(session_now.run_params);
    }
    std::string faults;
    if (e.rejected)
        faults = json_string(*e.rejected == EntryFault::Negative ? "Negative" : "NotPositive");
    return hand_out("{\"text\":" + json_string(e.text) + ",\"faults\":[" + faults + "]}");
}

// The characteristics as the window shows them, with the decimal separator given, and the
// step data: {"g": "0.500" | null, "Ax": …, "fi_x", "Ay", "fi_y", "Dj", "h", "t_end", "n_per"}
EMSCRIPTEN_KEEPALIVE const char* sp_characteristics(char decimal_point)
{
    const Characteristics c = characteristics_of(session().settings.params);
    const auto fixed = [&](double v, bool defined) {
        return defined && std::isfinite(v) ? json_string(format_fixed(v, 3, decimal_point)) : "null";
    };
    const auto scientific = [&](double v) {
        return std::isfinite(v) ? json_string(format_scientific(v, decimal_point)) : "null";
    };
    const bool g = c.g_undefined == Undefined::Defined;
    const bool fi_x = c.fi_x_undefined == Undefined::Defined;
    return hand_out("{\"g\":" + fixed(c.g, g) + ",\"Ax\":" + scientific(c.Ax) +
                    ",\"fi_x\":" + fixed(c.fi_x, fi_x) + ",\"Ay\":" + scientific(c.Ay) +
                    ",\"fi_y\":" + fixed(c.fi_y, true) + ",\"Dj\":" + fixed(c.Dj, fi_x) +
                    ",\"h\":" + json_number(c.h) + ",\"t_end\":" + json_number(c.t_end) +
                    ",\"n_per\":" + std::to_string(c.n_per) + "}");
}

// The scale bars: slow-down, magnifier, X(t) and Y(t) zooms.
EMSCRIPTEN_KEEPALIVE void sp_set_scales(int slowdown, int k_lupa, int k_xt, int k_yt)
{
    Scales& s = session().settings.scales;
    s.slowdown = static_cast<std::int16_t>(slowdown);
    s.k_lupa = static_cast<std::int16_t>(k_lupa);
    s.k_xt = static_cast<std::int16_t>(k_xt);
    s.k_yt = to_single(k_yt);
}

// The regions of model coordinates the pictures show, each as [x1, y1, x2, y2]:
// {"plane", "animation", "xt", "yt", "lupa", "M"}
EMSCRIPTEN_KEEPALIVE const char* sp_extents()
{
    const Settings& s = session().settings;
    const Extents e = minmax(s.params, characteristics_of(s.params), s.scales, s.look);
    const auto window = [](const CoordWindow& w) {
        return "[" + json_number(w.x1) + "," + json_number(w.y1) + "," + json_number(w.x2) + "," +
               json_number(w.y2) + "]";
    };
    return hand_out("{\"plane\":" + window(e.plane) + ",\"animation\":" + window(e.animation) +
                    ",\"xt\":" + window(e.xt) + ",\"yt\":" + window(e.yt) +
                    ",\"lupa\":" + window(e.lupa) + ",\"M\":" + json_number(e.M) + "}");
}

// Starts a run with the fields' parameters as they are now.
EMSCRIPTEN_KEEPALIVE void sp_run_start()
{
    Session& s = session();
    s.run_params = s.settings.params;
    s.run_c = characteristics_of(s.run_params);
    s.run = start_run(s.run_params);
    s.steps = 0;
    s.running = true;
    drawing().anim_count = 0;
}

// Takes up to `count` steps of the run; returns how many were taken. The run ends when its
// time is over or its state cannot go on (sp_run_going tells). The steps' states are in the
// buffer sp_run_chunk points to, six doubles each: t, x, y, vx, vy, xs.
EMSCRIPTEN_KEEPALIVE int sp_run_steps(int count)
{
    Session& s = session();
    s.chunk.clear();
    if (!s.running || count <= 0)
        return 0;
    int taken = 0;
    Drawing& d = drawing();
    Pictures pics = d.pictures();
    RunState before = s.run;
    const WalkEnd end = walk(s.run, s.run_params, s.run_c.h, s.run_c.t_end,
                             [&](const RunState& state, const StepInfo& info) {
                                 if (d.portrait_open)
                                     d.portrait_picture.step(d.portrait, before, state);
                                 before = state;
                                 s.chunk.insert(s.chunk.end(), {static_cast<double>(state.t), state.x,
                                                                state.y, state.vx, state.vy, state.xs});
                                 if (d.laid_out)
                                     draw_step(pics, d.marks, s.settings.look, d.blt, state,
                                               crank_offsets(s.run_params, s.settings.look, info.t_start),
                                               d.anim_count);
                                 return ++taken < count;
                             });
    s.steps += taken;
    if (end != WalkEnd::Stopped)
        s.running = false;
    return taken;
}

EMSCRIPTEN_KEEPALIVE const double* sp_run_chunk() { return session().chunk.data(); }
EMSCRIPTEN_KEEPALIVE int sp_run_going() { return session().running ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE void sp_run_stop() { session().running = false; }
EMSCRIPTEN_KEEPALIVE double sp_run_step_count() { return static_cast<double>(session().steps); }

// The run's steps so far as the tool prints a trace with every step shown.
EMSCRIPTEN_KEEPALIVE const char* sp_run_csv()
{
    std::ostringstream out;
    analysis::write_run(out, session().run_params, session().steps);
    return hand_out(out.str());
}

// The k-th of n frequencies from `from` to `to`, as the sweep spaces them.
EMSCRIPTEN_KEEPALIVE double sp_sweep_beta(double from, double to, double n, double k)
{
    return analysis::sweep_beta(from, to, static_cast<std::int64_t>(n), static_cast<std::int64_t>(k));
}

// One point of the resonance curve with the fields' parameters at frequency beta: its CSV
// row as the tool writes it (the header comes from sp_sweep_header).
EMSCRIPTEN_KEEPALIVE const char* sp_sweep_row(double beta)
{
    Parameters q = session().settings.params;
    q.beta = beta;
    const analysis::SweepRow row = analysis::sweep_point(q);
    std::ostringstream out;
    {
        analysis::CsvWriter csv(out);
        analysis::sweep_row(csv, row);
    }
    return hand_out(out.str());
}

EMSCRIPTEN_KEEPALIVE void sp_curve_begin(int points, double from, double to)
{
    curve_points() = {session().settings.params,
                      std::vector<std::optional<analysis::SweepRow>>(static_cast<std::size_t>(std::max(points, 0))),
                      to > from ? std::optional(Range{from, to}) : std::nullopt};
}

// The k-th point, from its CSV row as sp_sweep_row wrote it (every number to 17 digits, so
// read back exactly).
EMSCRIPTEN_KEEPALIVE void sp_curve_put(int k, const char* row)
{
    auto& rows = curve_points().rows;
    if (k < 0 || static_cast<std::size_t>(k) >= rows.size() || row == nullptr)
        return;
    std::vector<double> cells;
    for (const char* p = row; *p != '\0' && *p != '\n';) {
        char* end = nullptr;
        cells.push_back(std::strtod(p, &end));
        if (end == p)
            return;
        p = *end == ',' ? end + 1 : end;
    }
    if (cells.size() < 8)
        return;
    analysis::SweepRow r;
    r.beta = cells[0];
    r.steps = static_cast<std::int64_t>(cells[1]);
    r.Ax = cells[2];
    r.Ay = cells[3];
    r.Ax_linear = cells[4];
    r.A1 = cells[5];
    r.phase = cells[6];
    r.steady = cells[7] != 0;
    r.whole = std::isfinite(r.Ax);
    rows[static_cast<std::size_t>(k)] = r;
}

// The curve's picture at w × h (picture 6), of the points handed in so far.
EMSCRIPTEN_KEEPALIVE void sp_curve_draw(int w, int h, double ratio)
{
    const CurvePoints& c = curve_points();
    std::vector<analysis::SweepRow> rows;
    for (const auto& r : c.rows)
        if (r)
            rows.push_back(*r);
    Surface& s = drawing().curve;
    s.resize({std::max(w, 1), std::max(h, 1)}, drawing_ratio(ratio));
    resonance_plot(s, c.params, rows, c.beta);
}

// The experiments table read by the core's one reader, as the window reads it:
// [{"key", "title", "texts": [9 × the cell, or null where the start-up value itself stands],
//   "time_graphs", "zoom_xt", "zoom_yt"}, …]
EMSCRIPTEN_KEEPALIVE const char* sp_experiments(const char* tsv)
{
    std::string json = "[";
    for (const ExperimentRow& r : read_experiment_table(tsv).rows) {
        if (json.size() > 1)
            json += ',';
        json += "{\"key\":" + json_string(r.key) + ",\"title\":" + json_string(r.title) + ",\"texts\":[";
        for (std::size_t i = 0; i < r.texts.size(); ++i)
            json += (i > 0 ? "," : "") + (r.exact[i] ? std::string("null") : json_string(r.texts[i]));
        json += "],\"time_graphs\":" + std::string(r.time_graphs ? "true" : "false") +
                ",\"zoom_xt\":" + std::to_string(r.zoom_xt) + ",\"zoom_yt\":" + std::to_string(r.zoom_yt) + "}";
    }
    return hand_out(json + "]");
}

// A curve field's text read as the window's curve fields read it: the number when the
// whole text is one finite number, else NaN.
EMSCRIPTEN_KEEPALIVE double sp_read_whole_number(const char* text)
{
    return read_whole_number(text).value_or(NAN);
}

EMSCRIPTEN_KEEPALIVE const char* sp_sweep_header()
{
    std::ostringstream out;
    {
        analysis::CsvWriter csv(out);
        analysis::sweep_header(csv);
    }
    return hand_out(out.str());
}

// Sets all nine parameters at once (a worker's copy of the fields), in the order of the
// fields' ids.
EMSCRIPTEN_KEEPALIVE void sp_set_parameter(int id, double value)
{
    if (valid_field(id))
        store(session().settings.params, static_cast<ParamId>(id), value);
}
EMSCRIPTEN_KEEPALIVE double sp_parameter(int id)
{
    return valid_field(id) ? value_of(session().settings.params, static_cast<ParamId>(id)) : 0.0;
}

// The window's geometry for a client of cw × ch: the pictures get the panels' sizes at the
// device pixel ratio given, and are drawn empty as a re-layout draws them (characteristics,
// regions, axes). {"Picture1": [left, top, width, height], …, "VScroll1", "VScroll2"}
EMSCRIPTEN_KEEPALIVE const char* sp_layout(double cw, double ch, double ratio, char decimal_point)
{
    static const bool texts = (web::use_browser_text(), true);
    static_cast<void>(texts);
    Drawing& d = drawing();
    const Settings& s = session().settings;
    d.geometry = layout(cw, ch);
    const Geometry& g = d.geometry;
    const double r = drawing_ratio(ratio);
    d.picture1.resize(panel_size(g.Picture1), r);
    d.picture2.resize(panel_size(g.Picture2), r);
    d.picture3.resize(panel_size(g.Picture3), r);
    d.picture4.resize(panel_size(g.Picture4), r);
    d.form3.resize({250, 250}, r);
    d.blt = {pixel_rect(g.blt_xs, g.blt_ys, g.blt_ws, g.blt_hs),
             pixel_rect(g.blt_xd, g.blt_yd, g.blt_wd, g.blt_hd)};
    const Characteristics c = characteristics_of(s.params);
    const Extents e = minmax(s.params, c, s.scales, s.look);
    Pictures pics = d.pictures();
    d.marks = redraw_empty(pics, s, c, e, d.blt, decimal_point);
    d.laid_out = true;
    return hand_out("{\"Picture1\":" + json_rect(g.Picture1) + ",\"Picture2\":" + json_rect(g.Picture2) +
                    ",\"Picture3\":" + json_rect(g.Picture3) + ",\"Picture4\":" + json_rect(g.Picture4) +
                    ",\"VScroll1\":" + json_rect(g.VScroll1) + ",\"VScroll2\":" + json_rect(g.VScroll2) + "}");
}

// A picture's pixels (0 to 4: plane, animation, X(t), Y(t), magnifier) and, when `take` is
// not 0, the part that changed since it was last taken, in image pixels:
// {"pixels": address, "width", "height", "dirty": [x, y, width, height]}
EMSCRIPTEN_KEEPALIVE const char* sp_picture(int i, int take)
{
    Surface* surface = drawing().surface(i);
    if (surface == nullptr || surface->image().null())
        return hand_out("{\"pixels\":0,\"width\":0,\"height\":0,\"dirty\":[0,0,0,0]}");
    const Image& image = surface->image();
    const RectI logical = take != 0 ? surface->take_dirty() : RectI();
    const double r = surface->device_pixel_ratio();
    const auto px = [&](int v) { return static_cast<int>(std::floor(v * r)); };
    RectI dirty(px(logical.left()), px(logical.top()),
                static_cast<int>(std::ceil((logical.right() + 1) * r)) - px(logical.left()),
                static_cast<int>(std::ceil((logical.bottom() + 1) * r)) - px(logical.top()));
    dirty &= RectI(0, 0, image.width(), image.height());
    return hand_out("{\"pixels\":" + std::to_string(reinterpret_cast<std::uintptr_t>(image.bits())) +
                    ",\"width\":" + std::to_string(image.width()) + ",\"height\":" +
                    std::to_string(image.height()) + ",\"dirty\":[" + std::to_string(dirty.x()) + "," +
                    std::to_string(dirty.y()) + "," + std::to_string(dirty.width()) + "," +
                    std::to_string(dirty.height()) + "]}");
}

// The phase portrait opened at w × h (or drawn empty again after a re-layout), picture 5.
EMSCRIPTEN_KEEPALIVE void sp_portrait_open(int w, int h, double ratio, char decimal_point)
{
    Drawing& d = drawing();
    const Settings& s = session().settings;
    const Characteristics c = characteristics_of(s.params);
    d.portrait.resize({w, h}, drawing_ratio(ratio));
    d.portrait_picture.clear(d.portrait, s.params, c, minmax(s.params, c, s.scales, s.look), decimal_point);
    d.portrait_open = true;
}

EMSCRIPTEN_KEEPALIVE void sp_portrait_close() { drawing().portrait_open = false; }

}  // extern "C"
