#pragma once
// The values scripts compute with: the Variant subtypes this engine knows.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zl {

/// The longest text a value holds; a longer result fails with 14 "Out of
/// string space". A few doublings of a text must not take all memory.
inline constexpr std::size_t kMaxTextLength = 16u << 20;

enum class ValueKind : std::uint8_t { Empty, Boolean, Integer, Long, Single, Double, String };

/// A script value. Every kind but String keeps its numeric meaning in
/// `number` (Empty 0, True -1, False 0), so compiled numeric code can read a
/// variable's number directly whatever its kind, as long as it is no text.
struct Value {
    ValueKind kind = ValueKind::Empty;
    double number = 0;
    std::string text;

    static Value empty() { return {}; }
    static Value boolean(bool truth) { return {ValueKind::Boolean, truth ? -1.0 : 0.0, {}}; }
    static Value numeric(ValueKind kind, double number) { return {kind, number, {}}; }
    static Value real(double number) { return {ValueKind::Double, number, {}}; }
    static Value string(std::string text) { return {ValueKind::String, 0, std::move(text)}; }

    bool isString() const { return kind == ValueKind::String; }
};

/// The number a value stands for in arithmetic; text must read as a number.
std::optional<double> numericValue(const Value &value);

/// The number a text stands for: a decimal number with blanks around it, or
/// &H hex / &O octal digits.
std::optional<double> numberFromText(std::string_view text);

/// The text a value gives in "&" concatenation: Empty "", True "True",
/// numbers in the general number text.
std::string textOf(const Value &value);

/// The subtype of a sum, difference or product: Integer while it fits 16
/// bits and both operands are whole-number kinds, then Long, then Double.
ValueKind arithmeticKind(ValueKind left, ValueKind right, double result);

}  // namespace zl
