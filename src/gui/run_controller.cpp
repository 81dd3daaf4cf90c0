#include "gui/run_controller.h"

#include <chrono>
#include <future>
#include <memory>

namespace zl::gui {

namespace {

/// Often enough that lines seem to appear as they are found, rarely enough
/// that a list of a million lines grows in a few thousand steps.
constexpr std::chrono::milliseconds kHandOverInterval{50};

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
    connect(&handOverTimer_, &QTimer::timeout, this, &RunController::handOver);
}

RunController::~RunController() { stopAndWait(); }

void RunController::start(Run run, int threads) {
    if (running()) return;
    control_.reset();
    std::ignore = lines_.take();
    std::ignore = progress_.take();
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

void RunController::handOver() {
    if (std::optional<RunProgress> progress = progress_.take(); progress && sinks_.progress) sinks_.progress(*progress);
    if (SolutionLineQueue::Batch batch = lines_.take(); !batch.empty() && sinks_.lines) sinks_.lines(std::move(batch));
}

void RunController::finish() {
    if (!running()) return;
    worker_.join();
    handOverTimer_.stop();
    handOver();
    if (sinks_.finished) sinks_.finished();
}

}  // namespace zl::gui
