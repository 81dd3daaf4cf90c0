#pragma once
// The texts in which the program writes numbers. None depends on the locale.

#include <string>

namespace zl {

/// The general number text: at most 15 significant digits, rounded; no
/// trailing zeros and no point for whole values; "-" before negatives; "0."
/// before fractions (0.25); exponent form when the decimal exponent after
/// rounding is below -4 or above 14: 1E-05, 1.5E+20, -2.5E-07.
std::string generalNumberText(double value);

/// The general number text with one blank before it when the value is not
/// negative, and one blank after it: " 2 ", "-5 ", " 0.001 ". Used for the
/// file's one-number lines and for every number in the printed report.
std::string paddedNumberText(double value);

}  // namespace zl
