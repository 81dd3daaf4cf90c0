#pragma once

#include <string>
#include <string_view>

namespace zl {

/// The residual expression of an equation: the text before the first "=", then
/// "-(", the text after it, then ")". Nothing is trimmed; a text without "="
/// is its own residual. "x + 1 = 2" gives "x + 1 -( 2)".
std::string buildResidual(std::string_view equation);

}  // namespace zl
