#pragma once
// A run on a worker thread, watched from the window's thread. The run writes
// its lines into a queue and its progress into a slot; a timer on the
// window's thread hands both to the window several times a second, so the
// window keeps its events flowing for the whole run. Whatever the run must
// show (an error box, a question) it posts to the window's thread, where it
// is handled in order, before the end of the run is.

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "core/session/solution_line_queue.h"
#include "core/solver/run_control.h"

namespace zl::gui {

class RunController : public QObject {
    Q_OBJECT
public:
    /// The run itself, on the worker thread: `lines` takes its list lines,
    /// `options` carries the thread count, the stop request and the observer.
    using Run = std::function<void(SolutionListView &lines, const RunOptions &options)>;

    /// Where the run's output goes on the window's thread.
    struct Sinks {
        std::function<void(SolutionLineQueue::Batch)> lines;
        std::function<void(const RunProgress &)> progress;
        std::function<void()> finished;  ///< after the last lines
    };

    explicit RunController(Sinks sinks, QObject *parent = nullptr);
    /// Stops a run under way and waits for its worker.
    ~RunController() override;

    /// From the start of a run until its end has been handled.
    bool running() const { return worker_.joinable(); }
    /// Starts `run` on a worker thread; nothing when a run is under way.
    void start(Run run, int threads);
    /// Safe from any thread.
    void requestStop() { control_.requestStop(); }
    /// Stops a run under way and waits for its worker; its output is dropped.
    void stopAndWait();

    /// From the worker: `question` asked on the window's thread. Waits for the
    /// answer, or returns false as soon as a stop is requested.
    bool askOnWindowThread(std::function<bool()> question);
    /// From any thread: `action` runs on the window's thread, after what was posted before.
    void postToWindowThread(std::function<void()> action);

private:
    class ProgressSlot : public RunObserver {
    public:
        void runProgress(const RunProgress &progress) override;
        std::optional<RunProgress> take();

    private:
        std::mutex mutex_;
        std::optional<RunProgress> latest_;
    };

    /// Progress at every tick; lines when their pause is over, or all of them at the end.
    void handOver(bool final);
    void finish();

    Sinks sinks_;
    SolutionLineQueue lines_;
    ProgressSlot progress_;
    RunControl control_;
    QTimer handOverTimer_;
    std::size_t linesShown_ = 0;
    std::chrono::steady_clock::time_point lastLines_;
    std::jthread worker_;
};

}  // namespace zl::gui
