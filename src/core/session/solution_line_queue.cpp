#include "core/session/solution_line_queue.h"

#include <utility>

namespace zl {

void SolutionLineQueue::appendLine(const std::string &line) {
    std::lock_guard lock(mutex_);
    pending_.lines.push_back(line);
}

void SolutionLineQueue::clearLines() {
    std::lock_guard lock(mutex_);
    pending_.cleared = true;
    pending_.lines.clear();
}

void SolutionLineQueue::setCountText(const std::string &text) {
    std::lock_guard lock(mutex_);
    pending_.countText = text;
}

SolutionLineQueue::Batch SolutionLineQueue::take() {
    std::lock_guard lock(mutex_);
    return std::exchange(pending_, Batch{});
}

}  // namespace zl
