#pragma once
// The pause between two steps of a run. It is the only place where the window handles
// its pending events during a run: the stop click, a new computation time, the slow-down
// bar, the graph choice, the menus and the close request all run inside it.

class QTimer;

namespace sp {

// Pauses for `seconds` (rounded to whole milliseconds, halves to even) while pending
// events are handled, sleeping rather than spinning. `timer` is the window's one-shot
// clock, Timer1; its tick ends the event handling a millisecond before the end, which is
// then slept exactly, so that the pause lasts what it should and hardly more. Events that
// arrive in that last millisecond wait for the next pause. A pause of zero handles no events.
void Wait(QTimer& timer, double seconds);

}  // namespace sp
