#include "drawing/pictures.h"

#include "drawing/colors.h"

namespace sp {
namespace {

void set_scale(Surface& g, const CoordWindow& w)
{
    g.set_scale(w.x1, w.y1, w.x2, w.y2);
}

}  // namespace

Marks redraw_empty(Pictures& pics, const Settings& s, const Characteristics& c,
                   const Extents& e, const CopyRects& blt, char decimal_point)
{
    pics.picture1.clear();
    pics.picture2.clear();
    pics.picture3.clear();
    pics.picture4.clear();
    pics.form3.clear();
    set_scale(pics.picture1, e.plane);
    set_scale(pics.picture2, e.animation);
    set_scale(pics.form3, e.lupa);
    set_scale(pics.picture3, e.xt);
    set_scale(pics.picture4, e.yt);

    Marks m;
    m.plane = axes(pics.picture1, pics.form3, s, e, decimal_point);
    axes_2(pics.picture2, pics.picture1, blt, m.plane, s, m.xs);
    m.time = axes_x_t(pics.picture3, s, e, c.t_end, m.plane, decimal_point);
    axes_y_t(pics.picture4, s, e, c.t_end, m.plane, m.time, decimal_point);
    return m;
}

void trajectory_segments(Pictures& pics, const RunState& after)
{
    const double t = after.t;
    pics.picture1.line_to(after.x, after.y, colors::kRed);
    pics.picture3.line_to(t, after.x, colors::kRed);
    pics.picture4.line_to(t, after.y, colors::kRed);
    pics.form3.line_to(after.x, after.y, colors::kRed);
}

void draw_step(Pictures& pics, const Marks& marks, const Presentation& look, const CopyRects& blt,
               const RunState& after, const Crank& crank, int& anim_count)
{
    trajectory_segments(pics, after);
    if (anim_count == 2) {
        animation_frame(pics.picture2, pics.picture1, blt, marks.plane, look, crank, after.xs,
                        after.x, after.y);
        anim_count = 0;
    }
    ++anim_count;
}

WalkEnd draw_first_steps(Pictures& pics, const Settings& s, const Characteristics& c,
                         const Marks& marks, const CopyRects& blt, std::int64_t steps,
                         std::int64_t& drawn)
{
    drawn = 0;
    if (steps <= 0)
        return WalkEnd::Stopped;
    RunState state = start_run(s.params);
    int anim_count = 0;
    return walk(state, s.params, c.h, c.t_end, [&](const RunState& st, const StepInfo& info) {
        // The crank turns with the driving, taken like xs at the start of the step.
        draw_step(pics, marks, s.look, blt, st, crank_offsets(s.params, s.look, info.t_start), anim_count);
        drawn = info.n;
        return info.n < steps;
    });
}

PictureSet::PictureSet(const std::array<SizeI, 5>& sizes, double ratio)
    : picture1_(sizes[0]),
      picture2_(sizes[1]),
      picture3_(sizes[2]),
      picture4_(sizes[3]),
      form3_(sizes[4], kMagnifierFontName, kMagnifierFontPoints)
{
    const std::array<Surface*, 5> all = {&picture1_, &picture2_, &picture3_, &picture4_, &form3_};
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i]->resize(sizes[i], ratio);
}

const Surface& PictureSet::surface(std::size_t i) const
{
    const std::array<const Surface*, 5> all = {&picture1_, &picture2_, &picture3_, &picture4_, &form3_};
    return *all.at(i);
}

WalkEnd draw_picture_set(PictureSet& set, const Settings& s, const CopyRects& blt, std::int64_t steps,
                         char decimal_point, std::int64_t& drawn)
{
    Pictures pics = set.pictures();
    const Characteristics c = characteristics_of(s.params);
    const Extents e = minmax(s.params, c, s.scales, s.look);
    const Marks marks = redraw_empty(pics, s, c, e, blt, decimal_point);
    return draw_first_steps(pics, s, c, marks, blt, steps, drawn);
}

}  // namespace sp

