#include "core/problem/residual_text.h"

namespace zl {

std::string buildResidual(std::string_view equation) {
    const auto equals = equation.find('=');
    if (equals == std::string_view::npos) return std::string(equation);
    std::string residual;
    residual.reserve(equation.size() + 3);
    residual.append(equation.substr(0, equals));
    residual.append("-(");
    residual.append(equation.substr(equals + 1));
    residual.push_back(')');
    return residual;
}

}  // namespace zl
