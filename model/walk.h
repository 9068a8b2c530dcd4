#pragma once
// The one way through a run. A run starts from the parameters' initial state and takes
// steps of h while its time is below the end time; after each step an observer sees the
// new state. The run ends when the end time is reached, when the observer says stop, when
// the state leaves the finite numbers (that step is not one performed: the state is put
// back to the last finite one and the observer does not see it), or when t + h rounds back
// to t in single precision (that step is performed and observed; the run could never end).
//
// The observer is a template parameter, so a lambda is inlined into the loop and a walk
// costs what a bare loop of `step` costs.

#include <concepts>
#include <cstdint>
#include <type_traits>

#include "model/oscillator.h"
#include "model/parameters.h"

namespace sp {

enum class WalkEnd {
    TimeOver,     // t reached the end time
    Stopped,      // the observer returned false
    NonFinite,    // the next step would have left the finite numbers; it was not taken
    TimeStalled,  // the last step no longer advanced the single-precision time
};

// What an observer is told of the step just taken.
struct StepInfo {
    std::int64_t n = 0;    // steps performed so far, this one included (1 for the first)
    float t_start = 0.0F;  // the step's start time, where its driving xs was taken
    bool stalled = false;  // the step did not advance t: it is the run's last
};

// The end time may change while a run goes on (a computation-time edit in the window's
// pause re-lays it out): it, and the step, are given either as a value or as a callable
// asked before every step.
template <class Value>
float current(const Value& v)
{
    if constexpr (std::is_invocable_r_v<float, const Value&>)
        return v();
    else
        return static_cast<float>(v);
}

// An observer that also takes the step's stages gets them; others walk with the bare step.
template <class Observer>
inline constexpr bool wants_stages =
    std::is_invocable_v<Observer&, const RunState&, const StepInfo&, const StepStages&>;

// Walks a run that has been started (state from start_run, or a state to continue from).
// `observe(const RunState&, const StepInfo&)` returns true to go on, false to stop; an
// observer of (const RunState&, const StepInfo&, const StepStages&) hears of the stages too.
template <class Step, class EndTime, class Observer>
WalkEnd walk(RunState& s, const Parameters& p, const Step& h, const EndTime& t_end,
             Observer&& observe)
{
    constexpr bool kStages = wants_stages<std::remove_reference_t<Observer>>;
    std::int64_t n = 0;
    while (before_end(s, current(t_end))) {
        const RunState before = s;
        [[maybe_unused]] std::conditional_t<kStages, StepStages, bool> stages{};
        StepResult result;
        if constexpr (kStages)
            result = step(s, p, current(h), stages);
        else
            result = step(s, p, current(h));
        if (result == StepResult::NonFinite) {
            s = before;
            return WalkEnd::NonFinite;
        }
        const StepInfo info{++n, before.t, result == StepResult::TimeStalled};
        bool go_on;
        if constexpr (kStages)
            go_on = observe(static_cast<const RunState&>(s), info, static_cast<const StepStages&>(stages));
        else
            go_on = observe(static_cast<const RunState&>(s), info);
        if (!go_on)
            return WalkEnd::Stopped;
        if (info.stalled)
            return WalkEnd::TimeStalled;
    }
    return WalkEnd::TimeOver;
}

}  // namespace sp
