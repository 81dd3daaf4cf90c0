#pragma once
// Reading numbers from the texts users type. The decimal symbol is always the
// point, whatever the locale.

#include <cstdint>
#include <optional>
#include <string_view>

namespace zl {

/// The leading number of a text: blanks are skipped wherever they stand
/// ("1 5" reads 15), then an optional sign, digits, an optional "." with digits
/// and an optional exponent ("E" and an optionally signed integer) are read as
/// far as they go. Anything after the number is ignored; no number reads 0.
/// A number too large for a double reads as +-infinity.
double readLeadingNumber(std::string_view text);

/// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

/// roundHalfEven, or nothing when the result does not fit 32 bits (or is NaN).
std::optional<std::int32_t> roundToInt32(double value);

/// roundHalfEven, or nothing when the result does not fit 16 bits (or is NaN).
std::optional<std::int16_t> roundToInt16(double value);

/// The leading number rounded to a 32-bit integer; 0 when it has no 32-bit form.
std::int32_t readRoundedInt32(std::string_view text);

/// True when the whole text is one number apart from leading and trailing
/// blanks: optional sign, digits, optional "." and fraction, optional exponent,
/// and the value is finite. "1e3" and " -.5 " pass; "", "abc", "1 5", "12abc" do not.
bool isWholeNumber(std::string_view text);

/// The value of a text that isWholeNumber accepts; nothing otherwise.
std::optional<double> parseWholeNumber(std::string_view text);

}  // namespace zl
