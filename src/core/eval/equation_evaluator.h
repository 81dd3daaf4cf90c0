#pragma once
// Turns the problem held in the window into compiled residuals and evaluates
// them at a point. This is the solver's ResidualSystem for typed equations.
// The window, zerolith-cli and the benchmarks all evaluate through this class,
// so a change to its interface reaches each of them.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/eval/script_error.h"
#include "core/problem/problem_field_texts.h"
#include "core/problem/problem_state.h"
#include "core/problem/residual_system.h"

namespace zl {

class ScriptEngine;
class MathLibrary;
class GlobalTable;

class EquationEvaluator : public ResidualSystem {
public:
    EquationEvaluator(ScriptEngine &engine, MathLibrary &library, ProblemState &problem);
    ~EquationEvaluator() override;

    /// Executes each constants-list item as a statement, in list order. The
    /// first item that fails stops the registration and its error is
    /// returned, whatever the number: an engine error (which the engine's
    /// observer has already seen), or a library function's failure inside
    /// the item's value (which the observer never sees; its error names the
    /// item at column 0). A constant is never left silently at a former value.
    [[nodiscard]] std::optional<ScriptError> registerConstants(const std::vector<std::string> &constantItems);

    /// Before a run: registerConstants, then residual i built from equation
    /// text i, maxError, maxCycles, the limits and the subintervals read from
    /// the field texts (numeric reading; integers rounded halves to even), then
    /// the residuals compiled. Returns registerConstants' failure, if any.
    [[nodiscard]] std::optional<ScriptError> prepareEquations(const std::vector<std::string> &constantItems,
                                                              const ProblemFieldTexts &fields);

    /// Compiles problem.record.residuals as they stand (after a file was opened).
    void compileResiduals();

    /// Evaluates compiled residual `equation` with the variables set from
    /// `point`: 0 and the value, or the error number. Errors of the engine reach
    /// the engine's observer first; a math-library failure returns its number.
    [[nodiscard]] std::int32_t evaluate(int equation, const double *point, double &value) override;

    /// Every residual at one point: the coordinates are checked and stored
    /// once, then all residuals run as one numeric program.
    [[nodiscard]] int evaluateAll(int count, const double *point, double *values, std::int32_t *statuses) override;

    /// Every residual at several points as one run of the joined program,
    /// for residuals that do not use the math library.
    [[nodiscard]] int evaluateMany(int count, const double *points, int pointCount, double *values) override;

    /// The number of the most recent failed evaluation (the window's ierr); 0 for none.
    std::int32_t lastErrorNumber() const { return lastErrorNumber_; }
    void clearLastErrorNumber() { lastErrorNumber_ = 0; }

private:
    struct Compiled;
    void relink();
    void bindVariablesDirectly(GlobalTable &globals);
    [[nodiscard]] std::int32_t evaluateCarefully(int equation, const double *point, double &value);
    /// True while the compiled programs hold: no global changed its kind and
    /// the problem kept its order since they were made.
    bool stillLinked() const;
    /// stillLinked(), and every coordinate is finite.
    bool hotPathReady(const double *point) const;
    void storeCoordinates(const double *point);
    /// evaluateAll for residuals from..count-1, one at a time.
    [[nodiscard]] int evaluateEachFrom(int from, int count, const double *point, double *values,
                                       std::int32_t *statuses);
    [[nodiscard]] std::int32_t fail(const ScriptError &error);

    ScriptEngine &engine_;
    MathLibrary &library_;
    ProblemState &problem_;
    std::unique_ptr<Compiled> compiled_;  ///< never null
    std::int32_t lastErrorNumber_ = 0;
};

}  // namespace zl
