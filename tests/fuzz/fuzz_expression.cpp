// Fuzz target: the expression engine, directly and through the equation evaluator.
//
// The whole input is first run as one expression and as one statement. Then
// its lines are commands on one engine, in order:
//   !TEXT  execute TEXT as a statement     ?TEXT  evaluate TEXT as a number
//   cTEXT  a constants-list item           vTEXT  a variable name
//   qTEXT  an equation                     lTEXT / uTEXT / sTEXT  the lower
//   limit, upper limit, subintervals texts of the next variable
//   eTEXT  the error bound text            iTEXT  the iterations text
//   =      prepare the equations so far and evaluate every residual at a few points
//   %A|B   compare the values of A and B every way
// Properties: a result is a finite double or an error whose description is in
// the catalogue; the observer sees each engine error exactly once and nothing
// else; all residuals evaluated in one call agree with each evaluated alone; an
// evaluation through the evaluator agrees, value or error number, with
// assigning the variables by statements and evaluating the residual's text;
// of A < B, A = B and A > B exactly one holds (or all fail alike), and B > A
// is A < B.

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/eval/parser.h"
#include "core/numbers/number_reading.h"
#include "core/numbers/number_text.h"
#include "core/session/session.h"
#include "fuzz_require.h"

namespace {

constexpr std::size_t kMaxFuzzedOrder = 6;

/// The program's session, under the names the properties below use.
struct Session {
    zl::Session core;
    zl::MathLibrary &library = core.library();
    zl::ScriptEngine &engine = core.engine();
    zl::ProblemState &problem = core.problem();
    zl::EquationEvaluator &evaluator = core.evaluator();
    std::vector<zl::ScriptError> observed;

    Session() {
        core.setErrorObserver([this](const zl::ScriptError &error) { observed.push_back(error); });
    }
};

void checkCatalogued(const zl::ScriptError &error, std::string_view text) {
    require(error.number != 0);
    require(!error.description.empty());
    require(error.description == zl::errorDescription(error.number));
    require(error.description != zl::errorDescription(0));  // the text for numbers outside the catalogue
    require(error.line >= 1 && error.column >= 0);
    require(static_cast<std::size_t>(error.column) <= text.size());
    require(error.text == text);
}

/// The observer saw exactly `error` and nothing else since `before`.
void checkObservedOnce(const Session &session, std::size_t before, const std::optional<zl::ScriptError> &error,
                       std::string_view text) {
    if (!error) {
        require(session.observed.size() == before);
        return;
    }
    require(session.observed.size() == before + 1);
    require(session.observed.back().number == error->number);
    checkCatalogued(*error, text);
}

zl::NumberResult evaluateChecked(Session &session, std::string_view text) {
    const std::size_t before = session.observed.size();
    const zl::NumberResult result = session.engine.evaluateNumber(text);
    checkObservedOnce(session, before, result.error, text);
    if (result.ok()) require(std::isfinite(result.value));
    return result;
}

std::optional<zl::ScriptError> executeChecked(Session &session, std::string_view text) {
    const std::size_t before = session.observed.size();
    std::optional<zl::ScriptError> error = session.engine.executeStatement(text);
    checkObservedOnce(session, before, error, text);
    return error;
}

/// The comparison of the values of two expressions, each way round.
void compareChecked(Session &session, std::string_view operands) {
    const std::size_t bar = operands.find('|');
    if (bar == std::string_view::npos) return;
    // Each must be one expression, or the parentheses would not hold it together.
    if (!zl::parseExpression(operands.substr(0, bar)).ok() || !zl::parseExpression(operands.substr(bar + 1)).ok())
        return;
    const std::string a = "(" + std::string(operands.substr(0, bar)) + ")";
    const std::string b = "(" + std::string(operands.substr(bar + 1)) + ")";
    const zl::NumberResult less = evaluateChecked(session, a + "<" + b);
    const zl::NumberResult equal = evaluateChecked(session, a + "=" + b);
    const zl::NumberResult greater = evaluateChecked(session, a + ">" + b);
    require(less.ok() == equal.ok() && equal.ok() == greater.ok());
    if (!less.ok()) {
        require(less.error->number == equal.error->number && equal.error->number == greater.error->number);
        return;
    }
    require((less.value == -1) + (equal.value == -1) + (greater.value == -1) == 1);
    const zl::NumberResult swapped = evaluateChecked(session, b + ">" + a);
    if (swapped.ok()) require(swapped.value == less.value);
}

struct FuzzedProblem {
    std::vector<std::string> constants;
    std::vector<std::string> names;
    zl::ProblemFieldTexts fields;
};

/// What the evaluator must give: each variable assigned by its statement
/// "name= value", then the residual's text evaluated, then the library's error.
std::int32_t evaluateByStatements(Session &session, int equation, const std::vector<double> &point, double &value) {
    const zl::ProblemSpec &record = session.problem.record;
    for (int i = 0; i < record.order; ++i) {
        const double coordinate = point[static_cast<std::size_t>(i)];
        const std::string statement = record.varNames[static_cast<std::size_t>(i)] + "=" +
                                      (coordinate >= 0 ? " " : "") + zl::generalNumberText(coordinate);
        if (auto error = executeChecked(session, statement)) return error->number;
    }
    session.library.ierr = 0;
    const zl::NumberResult result = evaluateChecked(session, record.residuals[static_cast<std::size_t>(equation)]);
    if (!result.ok()) return result.error->number;
    if (session.library.ierr != 0) return session.library.ierr;
    value = result.value;
    return 0;
}

/// The statement route is the reference only for plain names (the evaluator
/// refuses a name that would make "name= value" more than one assignment), and
/// only where the number texts carry every coordinate exactly.
bool comparableWithStatements(const zl::ProblemSpec &record, const std::vector<double> &point) {
    const auto plain = [](const std::string &name) {
        return !name.empty() && std::isalpha(static_cast<unsigned char>(name.front())) &&
               std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isalnum(c) || c == '_'; });
    };
    const auto exact = [](double x) {
        return std::isfinite(x) && zl::readLeadingNumber(zl::generalNumberText(x)) == x;
    };
    return std::all_of(record.varNames.begin(), record.varNames.end(), plain) &&
           std::all_of(point.begin(), point.end(), exact);
}

void evaluateAt(Session &session, const std::vector<double> &point) {
    const int order = session.problem.record.order;
    // All residuals in one call: each status is what evaluate gives alone, as
    // many reports, and the call stops right after the first one outside the
    // recoverable set.
    std::vector<double> values(static_cast<std::size_t>(order), std::numeric_limits<double>::quiet_NaN());
    std::vector<std::int32_t> statuses(static_cast<std::size_t>(order), -1);
    const std::size_t observedBefore = session.observed.size();
    const int evaluated = session.evaluator.evaluateAll(order, point.data(), values.data(), statuses.data());
    require(evaluated >= 1 && evaluated <= order);
    const std::size_t reportedAll = session.observed.size() - observedBefore;
    std::size_t reportedAlone = 0;
    for (int j = 0; j < evaluated; ++j) {
        const std::int32_t status = statuses[static_cast<std::size_t>(j)];
        if (status == 0) require(std::isfinite(values[static_cast<std::size_t>(j)]));
        const bool last = j == evaluated - 1;
        if (!last) require(status == 0 || zl::isRecoverableError(status));
        if (last && evaluated < order) require(status != 0 && !zl::isRecoverableError(status));
    }
    for (int equation = 0; equation < order; ++equation) {
        const std::size_t before = session.observed.size();
        double value = std::numeric_limits<double>::quiet_NaN();
        const std::int32_t number = session.evaluator.evaluate(equation, point.data(), value);
        if (equation < evaluated) reportedAlone += session.observed.size() - before;
        if (number == 0) {
            require(std::isfinite(value));
            require(session.observed.size() == before);
        } else {
            require(session.evaluator.lastErrorNumber() == number);
            const bool byEngine = session.observed.size() == before + 1 && session.observed.back().number == number;
            // A library function records its own failure, also a non-numeric
            // argument (13), and the engine reports nothing.
            const bool byLibrary = session.observed.size() == before && session.library.ierr == number &&
                                   (number == 5 || number == 6 || number == 11 || number == 13);
            require(byEngine || byLibrary);
        }
        if (equation < evaluated) {
            require(statuses[static_cast<std::size_t>(equation)] == number);
            if (number == 0) require(values[static_cast<std::size_t>(equation)] == value);
        }
        if (!comparableWithStatements(session.problem.record, point)) continue;
        double expected = std::numeric_limits<double>::quiet_NaN();
        const std::int32_t expectedNumber = evaluateByStatements(session, equation, point, expected);
        if (expectedNumber != number || (number == 0 && expected != value))
            std::fprintf(stderr, "residual %d \"%s\": evaluator %d %.17g, statements %d %.17g\n", equation,
                         session.problem.record.residuals[static_cast<std::size_t>(equation)].c_str(), number, value,
                         expectedNumber, expected);
        require(expectedNumber == number);
        if (number == 0) require(expected == value);
    }
    require(reportedAll == reportedAlone);  // the engine reports its errors as often either way
}

void prepareAndEvaluate(Session &session, const FuzzedProblem &fuzzed) {
    const std::size_t order = std::min(std::max(fuzzed.names.size(), fuzzed.fields.equations.size()), kMaxFuzzedOrder);
    if (order == 0) return;
    session.problem.sizeProblem(static_cast<std::int32_t>(order));
    for (std::size_t i = 0; i < order; ++i)
        session.problem.record.varNames[i] = i < fuzzed.names.size() ? fuzzed.names[i] : "p" + std::to_string(i);

    const std::size_t before = session.observed.size();
    const std::optional<zl::ScriptError> failure = session.evaluator.prepareEquations(fuzzed.constants, fuzzed.fields);
    if (failure) {
        // An engine error reached the observer; a library function's failure in a constant's value did not.
        const bool byEngine = session.observed.size() > before && session.observed.back().number == failure->number;
        const bool byLibrary = session.observed.size() == before && session.library.ierr == failure->number;
        require(byEngine || byLibrary);
        return;  // a run stops here
    }

    const zl::ProblemSpec &record = session.problem.record;
    std::vector<double> lower(order), upper(order), middle(order), zero(order, 0.0), odd(order);
    constexpr double kOddValues[] = {1e308, -1e-310, 2.5, -0.5, 1e15, 7};
    for (std::size_t i = 0; i < order; ++i) {
        lower[i] = record.lowerLimits[i];
        upper[i] = record.upperLimits[i];
        middle[i] = lower[i] / 2 + upper[i] / 2;
        odd[i] = kOddValues[i % std::size(kOddValues)];
    }
    for (const auto *point : {&zero, &lower, &upper, &middle, &odd}) evaluateAt(session, *point);
    std::vector<double> infinite(order, std::numeric_limits<double>::infinity());
    evaluateAt(session, infinite);
}

void runCommands(Session &session, std::string_view input) {
    FuzzedProblem fuzzed;
    zl::ProblemFieldTexts &fields = fuzzed.fields;
    const std::pair<char, std::vector<std::string> *> lists[] = {
        {'c', &fuzzed.constants},   {'v', &fuzzed.names},       {'q', &fields.equations},
        {'l', &fields.lowerLimits}, {'u', &fields.upperLimits}, {'s', &fields.subintervals}};
    while (!input.empty()) {
        const std::size_t end = input.find('\n');
        const std::string_view line = input.substr(0, end);
        input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
        if (line.empty()) continue;
        const char command = line.front();
        const std::string text(line.substr(1));
        for (const auto &[key, list] : lists)
            if (key == command) list->push_back(text);
        if (command == '!') executeChecked(session, text);
        if (command == '?') evaluateChecked(session, text);
        if (command == 'e') fields.errorBound = text;
        if (command == 'i') fields.iterations = text;
        if (command == '=') prepareAndEvaluate(session, fuzzed);
        if (command == '%') compareChecked(session, text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    {
        Session whole;
        evaluateChecked(whole, input);
        executeChecked(whole, input);
    }
    Session session;
    runCommands(session, input);
    return 0;
}
