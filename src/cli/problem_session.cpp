#include "cli/problem_session.h"

#include <cassert>
#include <ostream>

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

ProblemSession::ProblemSession(std::ostream &err) : evaluator_(engine_, library_, problem_), err_(err) {
    library_.setOwnerErrorNumber(&windowErrorNumber_);
    engine_.addMathLibrary(library_);
    engine_.setErrorObserver([this](const ScriptError &error) {
        windowErrorNumber_ = error.number;
        if (isRecoverableError(error.number)) return;
        scriptErrorReported_ = true;
        err_ << "zerolith-cli: Error in Script Control\n" << terminalText(scriptErrorMessage(error)) << '\n';
    });
    for (std::string_view statement : kStartupStatements) {
        [[maybe_unused]] const auto error = engine_.executeStatement(statement);
        assert(!error && "the start-up statements are fixed texts the engine runs");
    }
}

std::unique_ptr<ProblemSession> ProblemSession::open(const std::string &path, std::ostream &err) {
    ProblemFileReading reading = readProblemFile(path);
    if (!reading.ok()) {
        printFileError(err, path, *reading.error);
        return nullptr;
    }
    std::unique_ptr<ProblemSession> session(new ProblemSession(err));
    if (auto error = applyProblemFile(reading.data, session->problem_)) {
        printFileError(err, path, *error);
        return nullptr;
    }
    session->problem_.record.fileName = path;
    session->constantItems_ = reading.data.constants;
    session->constantsRegistered_ = !session->evaluator_.registerConstants(session->constantItems_);
    session->evaluator_.compileResiduals();
    return session;
}

ProblemFieldTexts ProblemSession::fieldTexts() const {
    const ProblemSpec &record = problem_.record;
    ProblemFieldTexts texts;
    texts.errorBound = generalNumberText(record.maxError);
    texts.iterations = std::to_string(record.maxCycles);
    for (int i = 0; i < record.order; ++i) {
        texts.lowerLimits.push_back(generalNumberText(record.lowerLimits[i]));
        texts.upperLimits.push_back(generalNumberText(record.upperLimits[i]));
        texts.subintervals.push_back(std::to_string(record.subintervals[i]));
        texts.equations.push_back(record.equations[i]);
    }
    return texts;
}

bool ProblemSession::save(const std::string &path, std::ostream &err) {
    const ProblemFileData data = problemFileDataToSave(problem_, fieldTexts(), constantItems_);
    if (auto error = saveProblemFile(path, data)) {
        printFileError(err, path, *error);
        return false;
    }
    return true;
}

}  // namespace zl::cli
