#pragma once
// One complete run: the model is advanced step by step and every step is drawn at once,
// with a pause after each step in which the window handles its events. Nothing of the
// trajectory is kept; it exists only in the pictures.

#include "drawing/pictures.h"
#include "model/characteristics.h"
#include "model/parameters.h"

namespace sp {

// What a run needs from the window that owns the state. Everything is asked for again
// after each pause: a pause may re-lay out the window (a new computation time clears the
// pictures, recomputes t_end and sets the pens back to the initial point) or end the program.
class RunHost {
public:
    virtual ~RunHost() = default;

    // The start button still reads "СТОП": the run goes on.
    virtual bool runCaptionIsStop() const = 0;
    // The program is ending: the run stops at once, with nothing more drawn.
    virtual bool quitting() const = 0;

    virtual const Settings& settings() const = 0;
    virtual const Characteristics& characteristics() const = 0;
    virtual Pictures pictures() = 0;
    virtual const Marks& marks() const = 0;
    virtual const CopyRects& copyRects() const = 0;

    // Draws the step on the pictures beside the five (the phase portrait), in the same step
    // and before they are shown; `before` is the state the step started from.
    virtual void drawPhase(const RunState& /*before*/, const RunState& /*after*/) {}
    // Lets the panels show what the step drew.
    virtual void showDrawn() = 0;
    virtual void Wait(double seconds) = 0;
    virtual void beep(double n) = 0;
    // The end-of-run actions after the tone: button caption, enabled controls, borders
    // and captions of both windows.
    virtual void endOfRun() = 0;
};

enum class RunEnd {
    TimeOver,   // t reached t_end (or could advance no further in single precision)
    Stopped,    // the start button was pressed again
    BrokeDown,  // the motion left the range of numbers; the step was not drawn
    Quit,       // the program is ending; no end-of-run action was taken
};

RunEnd raschet(RunHost& host);

}  // namespace sp
