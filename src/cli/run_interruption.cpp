#include "cli/run_interruption.h"

#include <condition_variable>
#include <mutex>

namespace zl::cli {
namespace {

// A signal handler reaches the program only through lock-free atomics.
std::atomic<RunControl *> interruptedControl{nullptr};
std::atomic<bool> interruptArrived{false};
static_assert(std::atomic<RunControl *>::is_always_lock_free);

void onInterrupt(int) {
    interruptArrived.store(true);
    if (RunControl *control = interruptedControl.load()) control->requestStop();
}

}  // namespace

InterruptStopsRun::InterruptStopsRun(RunControl &control) {
    interruptArrived.store(false);
    interruptedControl.store(&control);
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;  // the second Ctrl-C takes the default action: the end
    installed_ = sigaction(SIGINT, &action, &former_) == 0;
}

InterruptStopsRun::~InterruptStopsRun() {
    if (installed_) sigaction(SIGINT, &former_, nullptr);
    interruptedControl.store(nullptr);
}

bool InterruptStopsRun::interrupted() const { return interruptArrived.load(); }

Deadline::Deadline(RunControl &control, std::optional<std::chrono::duration<double>> timeout) {
    if (!timeout) return;
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration_cast<std::chrono::nanoseconds>(*timeout);
    timer_ = std::jthread([this, &control, end](std::stop_token stop) {
        std::mutex mutex;
        std::condition_variable_any wake;
        std::unique_lock lock(mutex);
        wake.wait_until(lock, stop, end, [] { return false; });
        if (stop.stop_requested()) return;
        expired_.store(true);
        control.requestStop();
    });
}

}  // namespace zl::cli
