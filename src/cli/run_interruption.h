#pragma once
// What stops a run of the command line before its end: the first Ctrl-C, or
// the time given with --timeout. Either stops the run as the window's Stop
// does; the list found so far is printed. A second Ctrl-C ends the program
// at once.

#include <atomic>
#include <chrono>
#include <optional>
#include <signal.h>
#include <thread>

#include "core/solver/run_control.h"

namespace zl::cli {

/// While it exists, the first SIGINT requests a stop of `control`; the
/// handler then falls back to the default action, so a second SIGINT ends
/// the process. The former handler is put back at the end.
class InterruptStopsRun {
public:
    explicit InterruptStopsRun(RunControl &control);
    ~InterruptStopsRun();
    InterruptStopsRun(const InterruptStopsRun &) = delete;
    InterruptStopsRun &operator=(const InterruptStopsRun &) = delete;

    /// Whether a SIGINT arrived.
    bool interrupted() const;

private:
    struct sigaction former_ {};
    bool installed_ = false;
};

/// Requests a stop of `control` once `timeout` has passed, unless it is
/// destroyed first.
class Deadline {
public:
    Deadline(RunControl &control, std::optional<std::chrono::duration<double>> timeout);

    bool expired() const { return expired_.load(); }

private:
    std::atomic<bool> expired_{false};
    std::jthread timer_;  // last: stopped and joined before the flag goes
};

}  // namespace zl::cli
