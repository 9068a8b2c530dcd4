#include "simulation/run_loop.h"

#include "drawing/animation.h"
#include "model/oscillator.h"

namespace sp {

RunEnd raschet(RunHost& host)
{
    RunState state = start_run(host.settings().params);
    int anim_count = 0;
    RunEnd end = RunEnd::TimeOver;
    for (;;) {
        if (!host.runCaptionIsStop()) {
            end = RunEnd::Stopped;
            break;
        }
        if (!before_end(state, host.characteristics().t_end))
            break;

        const Settings& s = host.settings();
        // The crank turns with the driving, taken like xs at the start of the step.
        const Crank crank = crank_offsets(s.params, s.look, state.t);
        const StepResult result = step(state, s.params, host.characteristics().h);
        if (result == StepResult::NonFinite) {
            end = RunEnd::BrokeDown;
            break;
        }
        Pictures pics = host.pictures();
        draw_step(pics, host.marks(), s.look, host.copyRects(), state, crank, anim_count);
        host.showDrawn();
        if (result == StepResult::TimeStalled)
            break;  // t would stay below t_end for ever

        host.Wait(0.01 * host.settings().scales.slowdown);
        if (host.quitting())
            return RunEnd::Quit;
    }
    host.beep(50);
    host.endOfRun();
    return end;
}

}  // namespace sp
