#pragma once
// Residuals as native functions of a point, failing with a chosen error
// number where a rule says so.

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "core/problem/residual_system.h"

namespace zl::testing {

class FunctionResiduals : public ResidualSystem {
public:
    using Function = std::function<double(const double *)>;
    using FailureRule = std::function<std::int32_t(int equation, const double *)>;

    explicit FunctionResiduals(std::vector<Function> functions, FailureRule failure = {})
        : functions_(std::move(functions)), failure_(std::move(failure)) {}

    std::int32_t evaluate(int equation, const double *point, double &value) override {
        ++evaluations;
        if (const std::int32_t number = failure_ ? failure_(equation, point) : 0) return number;
        value = functions_[static_cast<std::size_t>(equation)](point);
        return 0;
    }

    long evaluations = 0;

private:
    std::vector<Function> functions_;
    FailureRule failure_;
};

}  // namespace zl::testing
