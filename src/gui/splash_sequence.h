#pragma once
// The splash at start-up: shown, painted, kept while the wall clock passes
// its third whole-second boundary, then closed. The wait runs an event loop
// that leaves user input alone, so the window repaints but cannot be clicked
// away, and no processor time is burnt.

#include <QtGlobal>

namespace zl::gui {

class SplashSequence {
public:
    /// Milliseconds from `startMs` (wall clock) to the third whole-second
    /// boundary after it: more than 2000 and at most 3000.
    static qint64 waitFrom(qint64 startMs);

    /// Shows the splash window, waits, closes it.
    static void run();
};

}  // namespace zl::gui
