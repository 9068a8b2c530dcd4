// Speed of the pictures: what one run step draws (four trajectory segments, an animation
// frame every second step) against the 10 ms pace of the fastest setting, and one full set
// of empty axes, the drawing part of every re-layout.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cmath>
#include <vector>

#include "drawing/lab_plots.h"
#include "drawing/pictures.h"
#include "drawing/portrait.h"
#include "model/characteristics.h"
#include "model/extents.h"
#include "model/oscillator.h"
#include "model/walk.h"
#include "qtdrawing/qt_drawing.h"

namespace {

// The five surfaces of the default 560 × 484 window with their empty axes, and the
// states of a default run to draw from.
struct Bench {
    sp::Settings s = sp::defaults();
    sp::Surface picture1{sp::SizeI{420, 420}};
    sp::Surface picture2{sp::SizeI{420, 420}};
    sp::Surface picture3{sp::SizeI{404, 206}};
    sp::Surface picture4{sp::SizeI{404, 206}};
    sp::Surface form3{sp::SizeI{250, 250}, sp::kMagnifierFontName, sp::kMagnifierFontPoints};
    sp::Pictures pics{picture1, picture2, picture3, picture4, form3};
    sp::CopyRects blt{sp::RectI(0, 0, 420, 420), sp::RectI(0, 0, 420, 420)};
    sp::Characteristics c;
    sp::Extents e;
    sp::Marks marks;
    std::vector<sp::RunState> states;
    std::vector<sp::Crank> cranks;

    Bench()
    {
        s.params.Xo = 0.3;  // a load that swings, so the spring changes every frame
        s.params.Vox = 0.2;
        c = sp::characteristics_of(s.params);
        e = sp::minmax(s.params, c, s.scales, s.look);
        redraw();
        sp::RunState st = sp::start_run(s.params);
        sp::walk(st, s.params, c.h, c.t_end, [&](const sp::RunState& now, const sp::StepInfo& info) {
            cranks.push_back(sp::crank_offsets(s.params, s.look, info.t_start));
            states.push_back(now);
            return true;
        });
    }

    void redraw() { marks = sp::redraw_empty(pics, s, c, e, blt, ','); }
};

Bench& bench()
{
    static Bench b;
    return b;
}

void BM_AnimationFrame(benchmark::State& state)
{
    Bench& b = bench();
    std::size_t i = 0;
    for (auto _ : state) {
        const sp::RunState& st = b.states[i];
        sp::animation_frame(b.picture2, b.picture1, b.blt, b.marks.plane, b.s.look, b.cranks[i],
                            st.xs, st.x, st.y);
        i = (i + 1) % b.states.size();
    }
}
BENCHMARK(BM_AnimationFrame)->Unit(benchmark::kMicrosecond);

void BM_StepSegments(benchmark::State& state)
{
    Bench& b = bench();
    std::size_t i = 0;
    for (auto _ : state) {
        if (i == 0) {
            state.PauseTiming();
            b.redraw();  // each pass draws the run again from its start
            state.ResumeTiming();
        }
        sp::trajectory_segments(b.pics, b.states[i]);
        i = (i + 1) % b.states.size();
    }
}
BENCHMARK(BM_StepSegments)->Unit(benchmark::kMicrosecond);

// The segments and a frame: the most a single step draws.
void BM_StepWithFrame(benchmark::State& state)
{
    Bench& b = bench();
    std::size_t i = 0;
    for (auto _ : state) {
        const sp::RunState& st = b.states[i];
        sp::trajectory_segments(b.pics, st);
        sp::animation_frame(b.picture2, b.picture1, b.blt, b.marks.plane, b.s.look, b.cranks[i],
                            st.xs, st.x, st.y);
        i = (i + 1) % b.states.size();
    }
}
BENCHMARK(BM_StepWithFrame)->Unit(benchmark::kMicrosecond);

// What the window must repaint after a step is only the dirty part of each surface.
void BM_DirtyAreaPerStep(benchmark::State& state)
{
    Bench& b = bench();
    std::size_t i = 0;
    int anim_count = 0;
    double pixels = 0;
    for (auto _ : state) {
        sp::draw_step(b.pics, b.marks, b.s.look, b.blt, b.states[i], b.cranks[i], anim_count);
        for (sp::Surface* g : {&b.picture1, &b.picture2, &b.picture3, &b.picture4, &b.form3}) {
            const sp::RectI r = g->take_dirty();
            pixels += static_cast<double>(r.width()) * r.height();
        }
        i = (i + 1) % b.states.size();
    }
    state.counters["dirty_pixels_per_step"] =
        benchmark::Counter(pixels, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DirtyAreaPerStep)->Unit(benchmark::kMicrosecond);

// A step on the phase portrait: its line and, once a driving period, its dot.
void BM_PortraitStep(benchmark::State& state)
{
    Bench& b = bench();
    sp::Surface s(sp::SizeI{320, 320}, sp::kPortraitFontName, sp::kPortraitFontPoints);
    sp::Portrait portrait;
    portrait.clear(s, b.s.params, b.c, b.e, ',');
    std::size_t i = 1;
    for (auto _ : state) {
        portrait.step(s, b.states[i - 1], b.states[i]);
        i = i + 1 < b.states.size() ? i + 1 : 1;
    }
}
BENCHMARK(BM_PortraitStep)->Unit(benchmark::kMicrosecond);

// The resonance picture of a short sweep, whose linear theory is drawn at every pixel
// column: the picture the curve window draws up to ten times a second.
void BM_ResonancePicture24(benchmark::State& state)
{
    const sp::Parameters p = sp::defaults().params;
    std::vector<sp::analysis::SweepRow> rows(24);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        sp::analysis::SweepRow& r = rows[k];
        r.beta = sp::analysis::sweep_beta(0.2, 2, 24, static_cast<std::int64_t>(k));
        r.Ax = 0.1 / (std::fabs(0.25 - r.beta * r.beta) + 0.05);
        r.Ay = 0.01;
        r.phase = 1;
        r.steady = true;
    }
    sp::Surface s = sp::lab_plot_surface(1);
    for (auto _ : state) {
        s.clear();
        sp::resonance_plot(s, p, rows);
    }
}
BENCHMARK(BM_ResonancePicture24)->Unit(benchmark::kMillisecond);

void BM_AllAxesDefaults(benchmark::State& state)
{
    Bench& b = bench();
    b.s = sp::defaults();
    b.c = sp::characteristics_of(b.s.params);
    b.e = sp::minmax(b.s.params, b.c, b.s.scales, b.s.look);
    for (auto _ : state)
        b.redraw();
}
BENCHMARK(BM_AllAxesDefaults)->Unit(benchmark::kMillisecond);

// The heaviest grids the thinning allows: as many lines and labels as pixels.
void BM_AllAxesCrowded(benchmark::State& state)
{
    Bench& b = bench();
    b.s = sp::defaults();
    b.s.params.Xo = 1e30;
    b.s.params.Tmax = 16000;
    b.c = sp::characteristics_of(b.s.params);
    b.e = sp::minmax(b.s.params, b.c, b.s.scales, b.s.look);
    for (auto _ : state)
        b.redraw();
}
BENCHMARK(BM_AllAxesCrowded)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    // Texts are Qt's, as in the window: they need an application object, no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    sp::use_qt_text();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
