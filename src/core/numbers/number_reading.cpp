#include "core/numbers/number_reading.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace zl {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

/// Walks a text character by character, optionally stepping over blanks.
class NumberScanner {
public:
    NumberScanner(std::string_view text, bool skipBlanks) : text_(text), skipBlanks_(skipBlanks) {}

    char peek() {
        skip();
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    char take() {
        const char c = peek();
        if (c != '\0') ++pos_;
        return c;
    }
    std::size_t position() {
        skip();
        return pos_;
    }
    void rewind(std::size_t position) { pos_ = position; }
    bool atEnd() { return peek() == '\0'; }

    /// Appends digits to `out`; returns how many there were.
    std::size_t takeDigits(std::string &out) {
        std::size_t count = 0;
        while (isDigit(peek())) {
            out.push_back(take());
            ++count;
        }
        return count;
    }

private:
    void skip() {
        if (skipBlanks_)
            while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
    }
    std::string_view text_;
    bool skipBlanks_;
    std::size_t pos_ = 0;
};

/// Reads sign, mantissa and exponent from the scanner into a compact token
/// such as "-12.5e-3". Returns false when no digit of a mantissa was found.
bool scanNumberToken(NumberScanner &scanner, std::string &token, bool &negative) {
    negative = false;
    const char sign = scanner.peek();
    if (sign == '+' || sign == '-') {
        negative = sign == '-';
        scanner.take();
    }
    std::size_t digits = scanner.takeDigits(token);
    if (scanner.peek() == '.') {
        const std::size_t beforePoint = scanner.position();
        scanner.take();
        std::string fraction;
        const std::size_t fractionDigits = scanner.takeDigits(fraction);
        if (digits == 0 && fractionDigits == 0) {
            scanner.rewind(beforePoint);
            return false;
        }
        token.push_back('.');
        token += fraction;
        digits += fractionDigits;
    }
    if (digits == 0) return false;

    const char e = scanner.peek();
    if (e == 'e' || e == 'E') {
        const std::size_t beforeExponent = scanner.position();
        scanner.take();
        std::string exponent = "e";
        const char expSign = scanner.peek();
        if (expSign == '+' || expSign == '-') exponent.push_back(scanner.take());
        if (scanner.takeDigits(exponent) > 0)
            token += exponent;
        else
            scanner.rewind(beforeExponent);
    }
    return true;
}

/// Converts a token made by scanNumberToken; magnitudes beyond the double
/// range give infinity, below it zero.
double tokenValue(const std::string &token, bool negative) {
    double value = 0;
    const auto [end, ec] =
        std::from_chars(token.data(), token.data() + token.size(), value, std::chars_format::general);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        const auto ePos = token.find('e');
        const bool tinyExponent = ePos != std::string::npos && token[ePos + 1] == '-';
        value = tinyExponent ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

template <typename Int>
std::optional<Int> roundToInteger(double value) {
    const double rounded = roundHalfEven(value);
    if (!(rounded >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<Int>::max())))
        return std::nullopt;
    return static_cast<Int>(rounded);
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

double readLeadingNumber(std::string_view text) {
    NumberScanner scanner(text, /*skipBlanks=*/true);
    std::string token;
    bool negative = false;
    if (!scanNumberToken(scanner, token, negative)) return 0.0;
    return tokenValue(token, negative);
}

double roundHalfEven(double value) {
    // nearbyint rounds in the current mode, which is round-to-nearest-even
    // unless someone changed it; this program never does.
    return std::nearbyint(value);
}

std::optional<std::int32_t> roundToInt32(double value) { return roundToInteger<std::int32_t>(value); }

std::optional<std::int16_t> roundToInt16(double value) { return roundToInteger<std::int16_t>(value); }

std::int32_t readRoundedInt32(std::string_view text) { return roundToInt32(readLeadingNumber(text)).value_or(0); }

std::optional<double> parseWholeNumber(std::string_view text) {
    NumberScanner scanner(trimBlanks(text), /*skipBlanks=*/false);
    std::string token;
    bool negative = false;
    if (!scanNumberToken(scanner, token, negative) || !scanner.atEnd()) return std::nullopt;
    const double value = tokenValue(token, negative);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

bool isWholeNumber(std::string_view text) { return parseWholeNumber(text).has_value(); }

}  // namespace zl
