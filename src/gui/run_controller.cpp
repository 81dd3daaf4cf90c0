#include "gui/run_controller.h"

#include <algorithm>
#include <chrono>
#include <future>
#include <memory>

namespace zl::gui {

namespace {

/// Progress and lines reach the window this often, so that lines seem to
/// appear as they are found.
constexpr std::chrono::milliseconds kHandOverInterval{50};

/// The list view lays out all its rows again after every insertion, so a long
/// list takes its lines in fewer, larger batches: the pause between two grows
/// with the lines shown (2 microseconds a line, up to a second), which keeps
/// the window's share of a run of a million lines to a few percent.
std::chrono::steady_clock::duration linesPause(std::size_t linesShown) {
    return std::clamp<std::chrono::steady_clock::duration>(std::chrono::microseconds(2 * linesShown), kHandOverInterval,
                                                           std::chrono::seconds(1));
}

/// How long a worker waiting for an answer takes to notice a stop request.
constexpr std::chrono::milliseconds kStopPoll{20};

}  // namespace

void RunController::ProgressSlot::runProgress(const RunProgress &progress) {
    std::lock_guard lock(mutex_);
    latest_ = progress;
}

std::optional<RunProgress> RunController::ProgressSlot::take() {
    std::lock_guard lock(mutex_);
    return std::exchange(latest_, std::nullopt);
}

RunController::RunController(Sinks sinks, QObject *parent) : QObject(parent), sinks_(std::move(sinks)) {
    handOverTimer_.setInterval(kHandOverInterval);
    connect(&handOverTimer_, &QTimer::timeout, this, [this] { handOver(false); });
}

RunController::~RunController() { stopAndWait(); }

void RunController::start(Run run, int threads) {
    if (running()) return;
    control_.reset();
    std::ignore = lines_.take();
    std::ignore = progress_.take();
    linesShown_ = 0;
    lastLines_ = {};
    handOverTimer_.start();
    worker_ = std::jthread([this, run = std::move(run), threads] {
        RunOptions options;
        options.threads = threads;
        options.control = &control_;
        options.observer = &progress_;
        run(lines_, options);
        postToWindowThread([this] { finish(); });
    });
}

void RunController::stopAndWait() {
    if (!running()) return;
    control_.requestStop();
    worker_.join();
    handOverTimer_.stop();
}

bool RunController::askOnWindowThread(std::function<bool()> question) {
    auto answer = std::make_shared<std::promise<bool>>();
    std::future<bool> answered = answer->get_future();
    postToWindowThread([answer, question = std::move(question)] { answer->set_value(question()); });
    while (answered.wait_for(kStopPoll) != std::future_status::ready)
        if (control_.stopRequested()) return false;
    return answered.get();
}

void RunController::postToWindowThread(std::function<void()> action) {
    QMetaObject::invokeMethod(this, std::move(action), Qt::QueuedConnection);
}

void RunController::handOver(bool final) {
    if (std::optional<RunProgress> progress = progress_.take(); progress && sinks_.progress) sinks_.progress(*progress);
    const auto now = std::chrono::steady_clock::now();
    if (!final && now - lastLines_ < linesPause(linesShown_)) return;
    lastLines_ = now;
    SolutionLineQueue::Batch batch = lines_.take();
    if (batch.empty()) return;
    linesShown_ = (batch.cleared ? 0 : linesShown_) + batch.lines.size();
    if (sinks_.lines) sinks_.lines(std::move(batch));
}

void RunController::finish() {
    if (!running()) return;
    worker_.join();
    handOverTimer_.stop();
    handOver(true);
    if (sinks_.finished) sinks_.finished();
}

}  // namespace zl::gui
