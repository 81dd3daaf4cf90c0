#include "cli/problem_session.h"

#include <cassert>
#include <ostream>

#include "core/files/problem_file.h"
#include "core/files/problem_file_reader.h"
#include "core/numbers/number_text.h"
#include "core/problem/residual_system.h"

namespace zl::cli {
namespace {

/// The box's text on a terminal: its carriage returns become line ends.
std::string terminalText(std::string text) {
    for (char &c : text)
        if (c == '\r') c = '\n';
    return text;
}

void printFileError(std::ostream &err, const std::string &path, const FileError &error) {
    if (error.code == FileErrorCode::Incompatible) {
        err << "zerolith-cli: " << path << ": " << fileErrorTitle(error.code) << '\n';
        return;
    }
    std::string detail = error.message;
    const std::string linePrefix = "Line " + std::to_string(error.line) + ": ";
    if (error.line > 0 && detail.rfind(linePrefix, 0) == 0) detail.erase(0, linePrefix.size());
    err << "zerolith-cli: " << path;
    if (error.line > 0) err << ':' << error.line;
    err << ": " << detail << '\n';
}

}  // namespace

ProblemSession::ProblemSession(std::ostream &err) : err_(err) {
    session_.setErrorObserver([this](const ScriptError &error) {
        if (isRecoverableError(error.number)) return;
        scriptErrorReported_ = true;
        err_ << "zerolith-cli: Error in Script Control\n" << terminalText(scriptErrorMessage(error)) << '\n';
    });
}

std::unique_ptr<ProblemSession> ProblemSession::open(const std::string &path, std::ostream &err) {
    ProblemFileReading reading = readProblemFile(path);
    if (!reading.ok()) {
        printFileError(err, path, *reading.error);
        return nullptr;
    }
    std::unique_ptr<ProblemSession> opened(new ProblemSession(err));
    if (auto error = opened->session_.open(reading.data)) {
        printFileError(err, path, *error);
        return nullptr;
    }
    opened->problem().record.fileName = path;
    opened->constantItems_ = reading.data.constants;
    return opened;
}

bool ProblemSession::registerConstants() {
    const std::optional<ConstantFailure> failure = session_.registerConstants(constantItems_);
    if (failure) reportConstantFailure(*failure);
    return !failure;
}

void ProblemSession::reportConstantFailure(const ConstantFailure &failure) {
    if (failure.engineError && !isRecoverableError(failure.number)) return;  // its message names the constant
    err_ << "zerolith-cli: the constant " << failure.constant << " cannot be computed: error " << failure.number << ": "
         << failure.description << '\n';
}

bool ProblemSession::save(const std::string &path, std::ostream &err) {
    const ProblemFileData data = problemFileDataToSave(problem(), session_.recordFieldTexts(), constantItems_);
    if (auto error = saveProblemFile(path, data)) {
        printFileError(err, path, *error);
        return false;
    }
    return true;
}

}  // namespace zl::cli
