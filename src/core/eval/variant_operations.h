#pragma once
// The operators on script values: VBScript's rules for mixing numbers,
// truth values, Empty and text. The numbers themselves go through arithmetic.h.

#include <cstdint>

#include "core/eval/syntax_tree.h"
#include "core/eval/value.h"

namespace zl {

/// left op right into result: 0, or the error number.
[[nodiscard]] std::int32_t applyBinary(BinaryOperator op, const Value &left, const Value &right, Value &result);

/// op operand into result: 0, or the error number.
[[nodiscard]] std::int32_t applyUnary(UnaryOperator op, const Value &operand, Value &result);

}  // namespace zl
