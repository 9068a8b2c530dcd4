#pragma once
// The laboratory's windows (the curve, the phase portrait, the magnifier) are plain
// widgets with a frame of their own; without help a screen reader is told they are a
// "filler", a piece of another window. This names their role: a window.

namespace sp {

// Installs, once, the accessibility factory that gives those windows the window role.
void name_windows_for_assistive_technology();

}  // namespace sp
