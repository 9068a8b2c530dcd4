#pragma once
// The five surfaces as the re-layout and the run loop use them together: the plane
// (Picture1), the animation (Picture2), X(t) (Picture3), Y(t) (Picture4) and the
// magnifier (Form3). The window owns the surfaces; these functions only draw on them.

#include <array>
#include <cstdint>

#include "drawing/animation.h"
#include "drawing/plane_axes.h"
#include "drawing/surface.h"
#include "drawing/time_axes.h"
#include "model/characteristics.h"
#include "model/extents.h"
#include "model/oscillator.h"
#include "model/walk.h"
#include "model/parameters.h"

namespace sp {

struct Pictures {
    Surface& picture1;
    Surface& picture2;
    Surface& picture3;
    Surface& picture4;
    Surface& form3;
};

// Everything the empty pictures leave for the run.
struct Marks {
    PlaneMarks plane;
    TimeMarks time;
    double xs = 0;
};

// The drawing part of a re-layout, in its fixed order: clear the four panels and the
// magnifier, give each its coordinate window, then axes, axes_2, axes_x_t, axes_y_t.
Marks redraw_empty(Pictures& pics, const Settings& s, const Characteristics& c,
                   const Extents& e, const CopyRects& blt, char decimal_point);

// One red segment on each of the plane, X(t), Y(t) and the magnifier, from where each pen
// stands to the state after the step.
void trajectory_segments(Pictures& pics, const RunState& after);

// The drawing of one run step as the run loop does it: the segments, and on every second
// step (the third, fifth, …, counted by anim_count, which starts at 0 with each run) an
// animation frame. `crank` is taken at the time at the start of the step.
void draw_step(Pictures& pics, const Marks& marks, const Presentation& look, const CopyRects& blt,
               const RunState& after, const Crank& crank, int& anim_count);

// The first `steps` steps of a run drawn as the run loop draws them (fewer when the run
// ends before), without pauses: the pictures a worksheet or a saved copy shows. Returns how
// the walk ended and sets `drawn` to the steps drawn.
WalkEnd draw_first_steps(Pictures& pics, const Settings& s, const Characteristics& c,
                         const Marks& marks, const CopyRects& blt, std::int64_t steps,
                         std::int64_t& drawn);

// The file names of the five pictures as a saved set, in the order of Pictures.
inline constexpr std::array<const char*, 5> kPictureFiles = {
    "plane.png", "animation.png", "xt.png", "yt.png", "magnifier.png"};

// The five pictures drawn without a window, for saving: one set of surfaces of the given
// logical sizes (in the order of Pictures) at device pixel ratio `ratio`.
class PictureSet {
public:
    PictureSet(const std::array<SizeI, 5>& sizes, double ratio);
    Pictures pictures() { return {picture1_, picture2_, picture3_, picture4_, form3_}; }
    const Surface& surface(std::size_t i) const;

private:
    Surface picture1_, picture2_, picture3_, picture4_, form3_;
};

// What a saved set shows, the same for the window's saving and the tool's pictures: the
// empty pictures of a re-layout, then the first `steps` steps of the run drawn as the run
// draws them (draw_first_steps: how the walk ended, and the steps drawn in `drawn`).
WalkEnd draw_picture_set(PictureSet& set, const Settings& s, const CopyRects& blt, std::int64_t steps,
                         char decimal_point, std::int64_t& drawn);

}  // namespace sp
