#include "simulation/run_loop.h"

#include "drawing/animation.h"
#include "model/oscillator.h"
#include "model/walk.h"

namespace sp {

RunEnd raschet(RunHost& host)
{
    RunState state = start_run(host.settings().params);
    int anim_count = 0;
    bool quit = false;
    // The stop button is looked at before every step, the first included; a pause may
    // re-lay out the window, so the step and the end time are asked for again each time.
    bool stopped = !host.runCaptionIsStop();
    RunState before = state;  // where the step being drawn started
    const auto observe = [&](const RunState& s, const StepInfo& info) {
        const Settings& settings = host.settings();
        // The crank turns with the driving, taken like xs at the start of the step.
        const Crank crank = crank_offsets(settings.params, settings.look, info.t_start);
        Pictures pics = host.pictures();
        draw_step(pics, host.marks(), settings.look, host.copyRects(), s, crank, anim_count);
        host.drawPhase(before, s);
        before = s;
        host.showDrawn();
        if (info.stalled)
            return true;  // t would stay below t_end for ever: the walk ends here, unpaused
        host.Wait(0.01 * host.settings().scales.slowdown);
        if (host.quitting()) {
            quit = true;
            return false;
        }
        stopped = !host.runCaptionIsStop();
        return !stopped;
    };
    WalkEnd walked = WalkEnd::Stopped;
    if (!stopped)
        walked = walk(
            state, host.settings().params, [&] { return host.characteristics().h; },
            [&] { return host.characteristics().t_end; }, observe);
    if (quit)
        return RunEnd::Quit;
    host.beep(50);
    host.endOfRun();
    switch (walked) {
    case WalkEnd::Stopped:
        return RunEnd::Stopped;
    case WalkEnd::NonFinite:
        return RunEnd::BrokeDown;
    case WalkEnd::TimeOver:
    case WalkEnd::TimeStalled:
        break;
    }
    return RunEnd::TimeOver;
}

}  // namespace sp
