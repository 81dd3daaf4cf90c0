#pragma once
// The operators on script values: VBScript's rules for mixing numbers,
// truth values, Empty and text. The numbers themselves go through arithmetic.h.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/eval/syntax_tree.h"
#include "core/eval/value.h"

namespace zl {

/// left op right into result: 0, or the error number. A comparison treats
/// both operands as computed values (see compareValues).
[[nodiscard]] std::int32_t applyBinary(BinaryOperator op, const Value &left, const Value &right, Value &result);

/// How a comparison treats a number against a text. VBScript tells values
/// written in the source from computed ones: with s = "1" and n = 1, s = n is
/// False (a number is below any text) while s = 1 is True (compared as numbers).
enum class ComparedOperands : std::uint8_t {
    Values,       ///< both computed: a number is below a text
    WithLiteral,  ///< one written as a literal: the text must read as a number
};

/// left op right for =, <>, <, >, <=, >=: a truth value, or the error number.
/// Two numbers (Empty as 0, True as -1) compare as numbers, two texts byte by
/// byte, Empty against a text as "".
[[nodiscard]] std::int32_t compareValues(BinaryOperator op, const Value &left, const Value &right, ComparedOperands operands,
                           Value &result);

[[nodiscard]] bool isComparison(BinaryOperator op);

/// Appends `more` to `text`: 0, or 14 when the result would be longer than kMaxTextLength.
[[nodiscard]] std::int32_t appendText(std::string &text, std::string_view more);

/// op operand into result: 0, or the error number.
[[nodiscard]] std::int32_t applyUnary(UnaryOperator op, const Value &operand, Value &result);

}  // namespace zl
