#pragma once
// The laboratory's windows (the curve, the phase portrait, the magnifier) are plain
// widgets with a frame of their own; without help a screen reader is told they are a
// "filler", a piece of another window. This gives them the role of a window.

class QWidget;

namespace sp {

// Called at the end of such a window's constructor: from then on its accessible interface
// is a window's, also when one was made for it while it was being built.
void name_as_window(QWidget* window);

}  // namespace sp
