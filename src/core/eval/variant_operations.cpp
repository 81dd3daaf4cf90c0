#include "core/eval/variant_operations.h"

#include <optional>

#include "core/eval/arithmetic.h"

namespace zl {
namespace {

using namespace arithmetic;

constexpr std::int32_t kTypeMismatch = errorNumber(ScriptErrorCode::TypeMismatch);
constexpr std::int32_t kOutOfStringSpace = errorNumber(ScriptErrorCode::OutOfStringSpace);

/// left + right as one text, or 14 beyond kMaxTextLength.
std::int32_t joinedText(std::string_view left, std::string_view right, Value &result) {
    if (left.size() + right.size() > kMaxTextLength) return kOutOfStringSpace;
    std::string text;
    text.reserve(left.size() + right.size());
    text.append(left).append(right);
    result = Value::string(std::move(text));
    return kOk;
}

/// Both operands as numbers, or 13.
std::int32_t numbers(const Value &left, const Value &right, double &a, double &b) {
    const std::optional<double> x = numericValue(left);
    const std::optional<double> y = numericValue(right);
    if (!x || !y) return kTypeMismatch;
    a = *x;
    b = *y;
    return kOk;
}

/// +, - and *: the result keeps a whole-number subtype while it fits.
std::int32_t arithmeticResult(BinaryOperator op, const Value &left, const Value &right, Value &result) {
    double a = 0;
    double b = 0;
    if (const auto error = numbers(left, right, a, b)) return error;
    const double r = op == BinaryOperator::Add ? a + b : op == BinaryOperator::Subtract ? a - b : a * b;
    if (const auto error = finiteOrOverflow(r)) return error;
    result = Value::numeric(arithmeticKind(left.kind, right.kind, r), r);
    return kOk;
}

/// + joins two texts; text plus Empty is the text; anything else adds numbers.
std::int32_t add(const Value &left, const Value &right, Value &result) {
    if (left.isString() && (right.isString() || right.kind == ValueKind::Empty))
        return joinedText(left.text, right.text, result);
    if (right.isString() && left.kind == ValueKind::Empty) {
        result = Value::string(right.text);
        return kOk;
    }
    return arithmeticResult(BinaryOperator::Add, left, right, result);
}

/// Two numbers computed by one of the arithmetic functions, with a fixed result subtype.
template <typename Operation>
std::int32_t numericResult(const Value &left, const Value &right, ValueKind kind, Operation operation, Value &result) {
    double a = 0;
    double b = 0;
    if (const auto error = numbers(left, right, a, b)) return error;
    double r = 0;
    if (const auto error = operation(a, b, r)) return error;
    result = Value::numeric(kind, r);
    return kOk;
}

/// -1, 0 or 1 as left is below, equal to or above right.
std::int32_t compare(const Value &left, const Value &right, ComparedOperands operands, int &order) {
    const bool leftText = left.isString() || left.kind == ValueKind::Empty;
    const bool rightText = right.isString() || right.kind == ValueKind::Empty;
    if ((left.isString() && rightText) || (right.isString() && leftText)) {
        const int c = left.text.compare(right.text);  // Empty holds no text: ""
        order = (c > 0) - (c < 0);
        return kOk;
    }
    if (left.isString() != right.isString() && operands == ComparedOperands::Values) {
        order = left.isString() ? 1 : -1;
        return kOk;
    }
    double a = 0;
    double b = 0;
    if (const auto error = numbers(left, right, a, b)) return error;
    order = (a > b) - (a < b);
    return kOk;
}

bool holds(BinaryOperator op, int order) {
    switch (op) {
    case BinaryOperator::Equal:
        return order == 0;
    case BinaryOperator::NotEqual:
        return order != 0;
    case BinaryOperator::Less:
        return order < 0;
    case BinaryOperator::Greater:
        return order > 0;
    case BinaryOperator::LessEqual:
        return order <= 0;
    default:
        return order >= 0;
    }
}

Bitwise bitwiseOperator(BinaryOperator op) {
    switch (op) {
    case BinaryOperator::And:
        return Bitwise::And;
    case BinaryOperator::Or:
        return Bitwise::Or;
    case BinaryOperator::Xor:
        return Bitwise::Xor;
    case BinaryOperator::Eqv:
        return Bitwise::Eqv;
    default:
        return Bitwise::Imp;
    }
}

/// On two truth values the logical operators give a truth value; otherwise
/// they work bit by bit on Longs.
std::int32_t logical(BinaryOperator op, const Value &left, const Value &right, Value &result) {
    const bool truthValues = left.kind == ValueKind::Boolean && right.kind == ValueKind::Boolean;
    const Bitwise bitwiseOp = bitwiseOperator(op);
    const auto error = numericResult(
        left, right, ValueKind::Long,
        [bitwiseOp](double a, double b, double &r) { return bitwise(bitwiseOp, a, b, r); }, result);
    if (!error && truthValues) result.kind = ValueKind::Boolean;
    return error;
}

}  // namespace

std::int32_t applyBinary(BinaryOperator op, const Value &left, const Value &right, Value &result) {
    switch (op) {
    case BinaryOperator::Concatenate:
        return joinedText(textOf(left), textOf(right), result);
    case BinaryOperator::Add:
        return add(left, right, result);
    case BinaryOperator::Subtract:
    case BinaryOperator::Multiply:
        return arithmeticResult(op, left, right, result);
    case BinaryOperator::Divide:
        return numericResult(left, right, ValueKind::Double, divide, result);
    case BinaryOperator::Power:
        return numericResult(left, right, ValueKind::Double, power, result);
    case BinaryOperator::IntegerDivide:
        return numericResult(left, right, ValueKind::Long, integerDivide, result);
    case BinaryOperator::Modulo:
        return numericResult(left, right, ValueKind::Long, modulo, result);
    case BinaryOperator::Equal:
    case BinaryOperator::NotEqual:
    case BinaryOperator::Less:
    case BinaryOperator::Greater:
    case BinaryOperator::LessEqual:
    case BinaryOperator::GreaterEqual:
        return compareValues(op, left, right, ComparedOperands::Values, result);
    case BinaryOperator::And:
    case BinaryOperator::Or:
    case BinaryOperator::Xor:
    case BinaryOperator::Eqv:
    case BinaryOperator::Imp:
        return logical(op, left, right, result);
    }
    return kOk;
}

std::int32_t compareValues(BinaryOperator op, const Value &left, const Value &right, ComparedOperands operands,
                           Value &result) {
    int order = 0;
    if (const auto error = compare(left, right, operands, order)) return error;
    result = Value::boolean(holds(op, order));
    return kOk;
}

bool isComparison(BinaryOperator op) {
    switch (op) {
    case BinaryOperator::Equal:
    case BinaryOperator::NotEqual:
    case BinaryOperator::Less:
    case BinaryOperator::Greater:
    case BinaryOperator::LessEqual:
    case BinaryOperator::GreaterEqual:
        return true;
    default:
        return false;
    }
}

std::int32_t appendText(std::string &text, std::string_view more) {
    if (text.size() + more.size() > kMaxTextLength) return kOutOfStringSpace;
    text.append(more);
    return kOk;
}

std::int32_t applyUnary(UnaryOperator op, const Value &operand, Value &result) {
    if (op == UnaryOperator::Identity) {
        result = operand;
        return kOk;
    }
    if (op == UnaryOperator::Not && operand.kind == ValueKind::Boolean) {
        result = Value::boolean(operand.number == 0);
        return kOk;
    }
    const std::optional<double> x = numericValue(operand);
    if (!x) return kTypeMismatch;
    if (op == UnaryOperator::Negate) {
        result = Value::numeric(arithmeticKind(operand.kind, ValueKind::Integer, -*x), -*x);
        return kOk;
    }
    double bits = 0;
    if (const auto error = bitwiseNot(*x, bits)) return error;
    result = Value::numeric(operand.kind == ValueKind::Empty || operand.kind == ValueKind::Integer ? ValueKind::Integer
                                                                                                   : ValueKind::Long,
                            bits);
    return kOk;
}

}  // namespace zl
