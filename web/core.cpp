// The page's way into the core: the same model and analysis the window and the tool use,
// compiled to WebAssembly and called from TypeScript with numbers and strings. Texts come
// back as JSON or CSV in a buffer the page reads before its next call.
//
// One session holds what the window holds: the parameters behind the nine fields, the
// scales of the bars, and the run in progress, which the page advances in chunks so it can
// pace and draw it between them.

#include <emscripten/emscripten.h>

#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/csv.h"
#include "analysis/sweep.h"
#include "model/characteristics.h"
#include "model/entry.h"
#include "model/extents.h"
#include "model/number_format.h"
#include "model/oscillator.h"
#include "model/parameters.h"
#include "model/walk.h"
#include "web/field_edit.h"

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

// One whole edit of a field, as the window handles it (field_edit.h):
// {"text": the field's text after, "faults": ["Negative" | "NotPositive", …]}
EMSCRIPTEN_KEEPALIVE const char* sp_edit_field(int id, const char* typed)
{
    if (!valid_field(id))
        return hand_out("{\"text\":\"\",\"faults\":[]}");
    const web::FieldEdit e = web::edit_field(session().settings.params, static_cast<ParamId>(id), typed);
    std::string faults;
    for (const EntryFault f : e.faults)
        faults += (faults.empty() ? "" : ",") + json_string(web::fault_name(f));
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
    const WalkEnd end = walk(s.run, s.run_params, s.run_c.h, s.run_c.t_end,
                             [&](const RunState& state, const StepInfo&) {
                                 s.chunk.insert(s.chunk.end(), {static_cast<double>(state.t), state.x,
                                                                state.y, state.vx, state.vy, state.xs});
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

}  // extern "C"
