#include "core/files/problem_file.h"

#include "core/numbers/number_reading.h"
#include "core/files/atomic_file.h"
#include "core/files/problem_file_writer.h"
#include "core/problem/residual_text.h"

namespace zl {
namespace {

const std::string &textAt(const std::vector<std::string> &texts, std::size_t index) {
    static const std::string none;
    return index < texts.size() ? texts[index] : none;
}

double readingAt(const std::vector<std::string> &texts, std::size_t index) {
    return readLeadingNumber(textAt(texts, index));
}

std::vector<std::vector<double>> storedSolutions(const ProblemState &problem) {
    std::vector<std::vector<double>> solutions;
    const auto &stored = problem.store.solutions;
    const int count = std::min(problem.store.solutionCount, stored.columns() - 1);
    for (int k = 1; k <= count; ++k) {
        std::vector<double> values;
        for (int j = 0; j < problem.record.order && j < stored.rows(); ++j) values.push_back(stored(j, k));
        solutions.push_back(std::move(values));
    }
    return solutions;
}

std::optional<FileError> invalidProblem(const std::string &detail) {
    return makeFileError(FileErrorCode::InvalidProblem, 0, detail);
}

std::optional<FileError> checkFitsRecord(const ProblemFileData &data) {
    const auto order = data.variables.size();
    if (order < 1 || order > static_cast<std::size_t>(kMaxOrder))
        return invalidProblem("the problem must have 1 to " + std::to_string(kMaxOrder) + " variables");
    if (data.solutions.size() > static_cast<std::size_t>(kMaxSolutions))
        return invalidProblem("more than " + std::to_string(kMaxSolutions) + " solutions");
    if (data.constants.size() > static_cast<std::size_t>(kConstantSlots))
        return invalidProblem("more than " + std::to_string(kConstantSlots) + " constants");
    if (!roundToInt32(data.maxCycles)) return invalidProblem("the iteration limit does not fit 32 bits");
    for (const auto &variable : data.variables)
        if (!roundToInt32(variable.subintervals)) return invalidProblem("a subinterval count does not fit 32 bits");
    for (const auto &solution : data.solutions)
        if (solution.size() != order) return invalidProblem("a solution does not have one value per variable");
    return std::nullopt;
}

void applyVariables(const std::vector<VariableRecord> &variables, ProblemSpec &record) {
    for (std::size_t i = 0; i < variables.size(); ++i) {
        const auto &variable = variables[i];
        record.varNames[i] = variable.name;
        record.equations[i] = variable.equation;
        record.residuals[i] = buildResidual(variable.equation);
        record.lowerLimits[i] = variable.lowerLimit;
        record.upperLimits[i] = variable.upperLimit;
        record.subintervals[i] = *roundToInt32(variable.subintervals);
    }
}

void applyConstants(const std::vector<std::string> &constants, ProblemSpec &record) {
    for (std::size_t j = 0; j < record.constants.size(); ++j)
        record.constants[j] = j < constants.size() ? constants[j] : std::string();
    record.constantCount = static_cast<std::int32_t>(constants.size());
}

void applySolutions(const std::vector<std::vector<double>> &solutions, SolutionStore &store) {
    store.solutionCount = static_cast<std::int32_t>(solutions.size());
    for (std::size_t k = 0; k < solutions.size(); ++k)
        for (std::size_t j = 0; j < solutions[k].size(); ++j)
            store.solutions(static_cast<int>(j), static_cast<int>(k + 1)) = solutions[k][j];
}

}  // namespace

ProblemFileData problemFileDataToSave(const ProblemState &problem, const ProblemFieldTexts &fields,
                                      const std::vector<std::string> &constantItems) {
    ProblemFileData data;
    data.maxError = readLeadingNumber(fields.errorBound);
    data.maxCycles = readLeadingNumber(fields.iterations);
    const auto order = static_cast<std::size_t>(std::max(problem.record.order, 0));
    for (std::size_t i = 0; i < order; ++i) {
        VariableRecord variable;
        variable.name = textAt(problem.record.varNames, i);
        variable.lowerLimit = readingAt(fields.lowerLimits, i);
        variable.upperLimit = readingAt(fields.upperLimits, i);
        variable.subintervals = readingAt(fields.subintervals, i);
        variable.equation = textAt(fields.equations, i);
        data.variables.push_back(std::move(variable));
    }
    data.constants = constantItems;
    data.solutions = storedSolutions(problem);
    return data;
}

std::optional<FileError> saveProblemFile(const std::string &path, const ProblemFileData &data) {
    if (auto error = findUnwritableContent(data)) return error;
    return replaceFileAtomically(path, problemFileText(data));
}

std::optional<FileError> applyProblemFile(const ProblemFileData &data, ProblemState &problem) {
    if (auto error = checkFitsRecord(data)) return error;
    problem.sizeProblem(static_cast<std::int32_t>(data.variables.size()));
    auto &record = problem.record;
    record.maxError = data.maxError;
    record.maxCycles = *roundToInt32(data.maxCycles);
    applyVariables(data.variables, record);
    applyConstants(data.constants, record);
    applySolutions(data.solutions, problem.store);
    return std::nullopt;
}

}  // namespace zl
