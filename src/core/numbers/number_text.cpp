#include "core/numbers/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace zl {
namespace {

constexpr int kSignificantDigits = 15;

/// The value rounded to 15 significant digits: its digits without trailing
/// zeros and its decimal exponent (value = 0.d1d2d3... * 10^(exponent + 1)).
struct RoundedDecimal {
    std::string digits;
    int exponent = 0;
};

/// "179769313486232" becomes "179769313486231"; a trailing 0 borrows.
void decrementLastDigit(std::string &digits) {
    for (auto c = digits.rbegin(); c != digits.rend(); ++c) {
        if (*c != '0') {
            --*c;
            return;
        }
        *c = '9';
    }
}

RoundedDecimal roundToSignificantDigits(double magnitude) {
    // to_chars is locale-independent, unlike printf.
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
    const auto ePos = text.find('e');
    RoundedDecimal decimal;
    for (char c : text.substr(0, ePos))
        if (c != '.') decimal.digits.push_back(c);
    // Rounding the very largest doubles up to 15 digits goes beyond the largest
    // double (1.7976931348623157E+308 would become 1.79769313486232E+308, which
    // reads back as infinity); those are rounded towards zero instead.
    double back = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), back).ec == std::errc::result_out_of_range)
        decrementLastDigit(decimal.digits);
    while (decimal.digits.size() > 1 && decimal.digits.back() == '0') decimal.digits.pop_back();
    decimal.exponent = std::atoi(std::string(text.substr(ePos + 1)).c_str());
    return decimal;
}

std::string exponentForm(const RoundedDecimal &d) {
    std::string text(1, d.digits[0]);
    if (d.digits.size() > 1) {
        text.push_back('.');
        text.append(d.digits, 1);
    }
    text.push_back('E');
    text.push_back(d.exponent < 0 ? '-' : '+');
    const std::string exponentDigits = std::to_string(std::abs(d.exponent));
    if (exponentDigits.size() < 2) text.push_back('0');
    return text + exponentDigits;
}

std::string positionalForm(const RoundedDecimal &d) {
    if (d.exponent < 0) return "0." + std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.digits;
    const auto integerDigits = static_cast<std::size_t>(d.exponent) + 1;
    if (d.digits.size() <= integerDigits) return d.digits + std::string(integerDigits - d.digits.size(), '0');
    return d.digits.substr(0, integerDigits) + "." + d.digits.substr(integerDigits);
}

}  // namespace

std::string generalNumberText(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
    if (value == 0) return "0";  // also for -0

    const RoundedDecimal decimal = roundToSignificantDigits(std::fabs(value));
    const bool useExponent = decimal.exponent < -4 || decimal.exponent > 14;
    const std::string magnitude = useExponent ? exponentForm(decimal) : positionalForm(decimal);
    return value < 0 ? "-" + magnitude : magnitude;
}

std::string paddedNumberText(double value) {
    const std::string text = generalNumberText(value);
    return (text.front() == '-' ? "" : " ") + text + " ";
}

}  // namespace zl
